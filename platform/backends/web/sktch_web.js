// The page side of the web backend: frames with menu bars and canvases, input turned into
// window messages, the program's sleep until input or a deadline, page dialogs, and
// SKTCH.SCR kept in IndexedDB.
var LibrarySKTCH = {
  $SKTCH__postset: 'addOnPreRun(SKTCH.prepare);',
  $SKTCH__deps: ['malloc', 'free'],
  $SKTCH: {
    WM_CLOSE: 0x0010, WM_KEYDOWN: 0x0100, WM_KEYUP: 0x0101, WM_COMMAND: 0x0111,
    WM_LBUTTONDOWN: 0x0201, WM_LBUTTONUP: 0x0202,
    MF_GRAYED: 0x1, MF_DISABLED: 0x2, MF_CHECKED: 0x8, MF_POPUP: 0x10, MF_SEPARATOR: 0x800,
    WS_SYSMENU: 0x80000, IDCANCEL: 2,
    frames: {},         // window id -> {element, canvas, menubar, menu, ...}
    order: [],          // window ids in the order they were made
    focus: 0,           // the window that takes keys
    dialog: null,       // the open page dialog
    wake: null,         // resumes the sleeping program
    timer: 0,
    autoplay: false,    // ?play=NAME: play the shipped script from the start, then halt
    autoplayStarted: false,
    playDone: false,
    frameCount: 0,
    firstFrameAt: 0,
    recording: false,
    playing: false,
    dir: '/sktch',
    clockHeld: false,
    clockStart: 0,
    clockOffset: 0,

    latin1: function(ptr) {
      var s = '';
      for (var i = ptr; HEAPU8[i]; ++i) s += String.fromCharCode(HEAPU8[i]);
      return s;
    },

    root: function() {
      return document.getElementById('sktch-windows') || document.body;
    },

    status: function(text) {
      var line = document.getElementById('sktch-status');
      if (line) line.textContent = text;
    },

    post: function(id, message, w, l) {
      _sktch_web_input(id, message, w, l);
      SKTCH.wakeUp();
    },

    wakeUp: function() {
      if (!SKTCH.wake) return;
      var resume = SKTCH.wake;
      SKTCH.wake = null;
      clearTimeout(SKTCH.timer);
      resume();
    },

    // The file system: SKTCH.SCR in IndexedDB, or for ?play=NAME the shipped script in memory.
    prepare: function() {
      FS.mkdir(SKTCH.dir);
      var query = new URLSearchParams(location.search);
      var play = query.get('play');
      if (play !== null || query.has('record')) {
        SKTCH.clockHeld = true;
        SKTCH.clockStart = performance.now();
      }
      if (play !== null) {
        FS.chdir(SKTCH.dir);
        if (!/^[A-Za-z0-9_][A-Za-z0-9_.-]*$/.test(play)) {
          SKTCH.status('Cannot play "' + play + '": a script beside the page is named by its file name only.');
          return;
        }
        addRunDependency('sktch-play');
        fetch(play).then(function(response) {
          if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
          return response.arrayBuffer();
        }).then(function(bytes) {
          FS.writeFile('SKTCH.SCR', new Uint8Array(bytes));
          SKTCH.autoplay = true;
          SKTCH.status('Playing ' + play);
        }).catch(function(error) {
          SKTCH.status('Cannot load script ' + play + ': ' + error.message);
        }).finally(function() {
          removeRunDependency('sktch-play');
        });
        return;
      }
      FS.mount(IDBFS, {}, SKTCH.dir);
      FS.chdir(SKTCH.dir);
      addRunDependency('sktch-idb');
      FS.syncfs(true, function(error) {
        if (error) SKTCH.status('Stored scripts are not available: ' + error);
        removeRunDependency('sktch-idb');
      });
      SKTCH.watchFiles();
    },

    persist: function() {
      if (SKTCH.autoplay) return;
      SKTCH.stored = false;
      FS.syncfs(false, function(error) {
        if (error) SKTCH.status('SKTCH.SCR could not be stored: ' + error);
        SKTCH.stored = !error;
      });
    },

    // A script dropped on the page or chosen with the picker becomes SKTCH.SCR.
    watchFiles: function() {
      var take = function(file) {
        if (!file) return;
        file.arrayBuffer().then(function(bytes) {
          FS.writeFile('SKTCH.SCR', new Uint8Array(bytes));
          SKTCH.persist();
          SKTCH.status(file.name + ' is now SKTCH.SCR: choose Playback Script to play it.');
        });
      };
      var picker = document.getElementById('sktch-open');
      if (picker) picker.addEventListener('change', function() { take(picker.files[0]); picker.value = ''; });
      document.addEventListener('dragover', function(e) { e.preventDefault(); });
      document.addEventListener('drop', function(e) {
        e.preventDefault();
        if (e.dataTransfer && e.dataTransfer.files.length) take(e.dataTransfer.files[0]);
      });
    },

    offerDownload: function() {
      var bytes;
      try { bytes = FS.readFile('SKTCH.SCR'); } catch (e) { return; }
      var bar = document.getElementById('sktch-save');
      if (!bar) return;
      var link = bar.querySelector('a');
      if (link.href) URL.revokeObjectURL(link.href);
      link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
      bar.hidden = false;
    },

    // ---- windows ----------------------------------------------------------------------------

    frame: function(id) {
      var f = SKTCH.frames[id];
      if (f) return f;
      var element = document.createElement('div');
      element.className = 'sktch-frame';
      var title = document.createElement('div');
      title.className = 'sktch-title';
      var caption = document.createElement('span');
      title.appendChild(caption);
      var close = document.createElement('button');
      close.className = 'sktch-close';
      close.textContent = '\u00d7';
      close.title = 'Close';
      close.addEventListener('click', function() { SKTCH.post(id, SKTCH.WM_CLOSE, 0, 0); });
      title.appendChild(close);
      var menubar = document.createElement('div');
      menubar.className = 'sktch-menubar';
      menubar.setAttribute('role', 'menubar');
      var canvas = document.createElement('canvas');
      canvas.tabIndex = 0;
      canvas.className = 'sktch-canvas';
      element.appendChild(title);
      element.appendChild(menubar);
      element.appendChild(canvas);
      f = {id: id, element: element, caption: caption, close: close, menubar: menubar,
           canvas: canvas, context: canvas.getContext('2d', {alpha: false}), open: -1, menu: []};
      SKTCH.frames[id] = f;
      SKTCH.order.push(id);
      var point = function(e) {
        var r = canvas.getBoundingClientRect();
        var x = Math.floor((e.clientX - r.left) * canvas.width / r.width);
        var y = Math.floor((e.clientY - r.top) * canvas.height / r.height);
        return (x & 0xFFFF) | ((y & 0xFFFF) << 16);
      };
      canvas.addEventListener('mousedown', function(e) {
        SKTCH.focus = id;
        SKTCH.closeMenus();
        if (e.button !== 0 || SKTCH.dialog) return;
        canvas.focus();
        e.preventDefault();
        SKTCH.post(id, SKTCH.WM_LBUTTONDOWN, 1, point(e));
      });
      canvas.addEventListener('mouseup', function(e) {
        if (e.button !== 0 || SKTCH.dialog) return;
        SKTCH.post(id, SKTCH.WM_LBUTTONUP, 0, point(e));
      });
      SKTCH.root().appendChild(element);
      return f;
    },

    // Whole device pixels per bitmap pixel, so that scaling stays crisp on dense screens.
    scale: function(f) {
      var ratio = window.devicePixelRatio || 1;
      var factor = Math.max(1, Math.round(ratio));
      f.canvas.style.width = (f.canvas.width * factor / ratio) + 'px';
      f.canvas.style.height = (f.canvas.height * factor / ratio) + 'px';
    },

    // ---- menus ------------------------------------------------------------------------------

    closeMenus: function() {
      for (var id in SKTCH.frames) {
        var f = SKTCH.frames[id];
        if (f.open >= 0) { f.open = -1; SKTCH.buildMenu(f); }
      }
    },

    findItem: function(items, prefix) {
      for (var i = 0; i < items.length; ++i) {
        var item = items[i];
        if (item.items) {
          var inner = SKTCH.findItem(item.items, prefix);
          if (inner) return inner;
        } else if (item.text.indexOf(prefix) === 0) {
          return item;
        }
      }
      return null;
    },

    label: function(text) {
      // '&x' marks the mnemonic, '&&' is an ampersand.
      var span = document.createElement('span');
      for (var i = 0; i < text.length; ++i) {
        if (text[i] === '&' && i + 1 < text.length) {
          ++i;
          if (text[i] !== '&') {
            var u = document.createElement('u');
            u.textContent = text[i];
            span.appendChild(u);
            continue;
          }
        }
        span.appendChild(document.createTextNode(text[i]));
      }
      return span;
    },

    buildList: function(f, items, list) {
      items.forEach(function(item) {
        if (item.flags & SKTCH.MF_SEPARATOR) {
          list.appendChild(document.createElement('hr'));
          return;
        }
        var row = document.createElement('div');
        row.className = 'sktch-item';
        row.setAttribute('role', 'menuitem');
        var parts = item.text.split('\t');
        var check = document.createElement('span');
        check.className = 'sktch-check';
        check.textContent = (item.flags & SKTCH.MF_CHECKED) ? '\u2713' : '';
        row.appendChild(check);
        var text = SKTCH.label(parts[0]);
        text.className = 'sktch-text';
        row.appendChild(text);
        var keys = document.createElement('span');
        keys.className = 'sktch-shortcut';
        keys.textContent = parts[1] || '';
        row.appendChild(keys);
        var greyed = item.flags & (SKTCH.MF_GRAYED | SKTCH.MF_DISABLED);
        if (greyed) row.classList.add('sktch-greyed');
        if (item.flags & SKTCH.MF_CHECKED) row.setAttribute('aria-checked', 'true');
        row.dataset.id = item.id;
        if (item.items) {
          var inner = document.createElement('div');
          inner.className = 'sktch-list';
          SKTCH.buildList(f, item.items, inner);
          row.appendChild(inner);
        } else if (!greyed) {
          row.addEventListener('mousedown', function(e) { e.preventDefault(); });
          row.addEventListener('click', function(e) {
            e.stopPropagation();
            f.open = -1;
            SKTCH.buildMenu(f);
            f.canvas.focus();
            SKTCH.post(f.id, SKTCH.WM_COMMAND, item.id, 0);
          });
        }
        list.appendChild(row);
      });
    },

    buildMenu: function(f) {
      var bar = f.menubar;
      bar.textContent = '';
      bar.hidden = f.menu.length === 0;
      f.menu.forEach(function(top, index) {
        var button = document.createElement('button');
        button.className = 'sktch-top';
        button.appendChild(SKTCH.label(top.text.split('\t')[0]));
        if (top.flags & (SKTCH.MF_GRAYED | SKTCH.MF_DISABLED)) button.disabled = true;
        button.addEventListener('mousedown', function(e) { e.preventDefault(); });
        button.addEventListener('click', function(e) {
          e.stopPropagation();
          if (top.items) {
            f.open = f.open === index ? -1 : index;
            SKTCH.buildMenu(f);
          } else {
            SKTCH.post(f.id, SKTCH.WM_COMMAND, top.id, 0);
          }
        });
        var holder = document.createElement('div');
        holder.className = 'sktch-menu';
        holder.appendChild(button);
        if (top.items && f.open === index) {
          var list = document.createElement('div');
          list.className = 'sktch-list sktch-open';
          list.setAttribute('role', 'menu');
          SKTCH.buildList(f, top.items, list);
          holder.appendChild(list);
        }
        bar.appendChild(holder);
      });
    },

    // What the page does when the Run menu's checks change: a finished recording is offered
    // as a download; the end of a ?play= replay halts the program.
    followChecks: function(f) {
      var record = SKTCH.findItem(f.menu, '&Record Script');
      var play = SKTCH.findItem(f.menu, '&Playback Script');
      var recording = !!(record && (record.flags & SKTCH.MF_CHECKED));
      var playing = !!(play && (play.flags & SKTCH.MF_CHECKED));
      if (SKTCH.recording && !recording) {
        // The library closes the file after it takes the check mark away: once it sleeps.
        setTimeout(function() {
          SKTCH.persist();
          SKTCH.offerDownload();
        }, 0);
      }
      if (SKTCH.playing && !playing && SKTCH.autoplay && SKTCH.autoplayStarted && !SKTCH.playDone) {
        SKTCH.playDone = true;
        var halt = SKTCH.findItem(f.menu, '&Halt animation');
        if (halt) SKTCH.post(f.id, SKTCH.WM_COMMAND, halt.id, 0);
        SKTCH.status('Replay finished.');
      }
      SKTCH.recording = recording;
      SKTCH.playing = playing;
    },

    // ?play=NAME plays from the program's first wait, ?record records from there: a script
    // that starts where a replay starts.
    startAutoplay: function() {
      if (SKTCH.autoplayStarted) return false;
      var wanted = SKTCH.autoplay ? '&Playback Script'
                 : new URLSearchParams(location.search).has('record') ? '&Record Script' : null;
      if (!wanted) return false;
      for (var i = 0; i < SKTCH.order.length; ++i) {
        var f = SKTCH.frames[SKTCH.order[i]];
        var item = f && SKTCH.findItem(f.menu, wanted);
        if (item) {
          SKTCH.autoplayStarted = true;
          _sktch_web_input(f.id, SKTCH.WM_COMMAND, item.id, 0);
          return true;
        }
      }
      return false;
    },

    // Text cells drawn since the last call, for tests that compare pixels outside text.
    takeTextCells: function() {
      var count = _malloc(4);
      var cells = _sktch_web_text_cells(count);
      var n = HEAP32[count >> 2];
      _free(count);
      var out = [];
      for (var i = 0; i < n; i += 4) {
        var at = (cells >> 2) + i;
        out.push({x: HEAP32[at], y: HEAP32[at + 1], w: HEAP32[at + 2], h: HEAP32[at + 3]});
      }
      return out;
    },

    // ---- keys -------------------------------------------------------------------------------

    codes: {
      Backspace: 0x08, Tab: 0x09, Enter: 0x0D, NumpadEnter: 0x0D, ShiftLeft: 0x10,
      ShiftRight: 0x10, ControlLeft: 0x11, ControlRight: 0x11, AltLeft: 0x12, AltRight: 0x12,
      Pause: 0x13, CapsLock: 0x14, Escape: 0x1B, Space: 0x20, PageUp: 0x21, PageDown: 0x22,
      End: 0x23, Home: 0x24, ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28,
      PrintScreen: 0x2C, Insert: 0x2D, Delete: 0x2E, MetaLeft: 0x5B, MetaRight: 0x5B,
      ContextMenu: 0x5D, NumpadMultiply: 0x6A, NumpadAdd: 0x6B, NumpadSubtract: 0x6D,
      NumpadDecimal: 0x6E, NumpadComma: 0x6E, NumpadDivide: 0x6F, NumLock: 0x90,
      ScrollLock: 0x91, NumpadClear: 0x0C, Semicolon: 0xBA, Equal: 0xBB, Comma: 0xBC,
      Minus: 0xBD, Period: 0xBE, Slash: 0xBF, Backquote: 0xC0, BracketLeft: 0xDB,
      Backslash: 0xDC, BracketRight: 0xDD, Quote: 0xDE
    },

    // The virtual-key code of a key, by where it sits (a US layout), as the desktop names it.
    virtualKey: function(e) {
      var code = e.code || '';
      var m;
      if ((m = /^Key([A-Z])$/.exec(code))) return m[1].charCodeAt(0);
      if ((m = /^Digit([0-9])$/.exec(code))) return m[1].charCodeAt(0);
      if ((m = /^Numpad([0-9])$/.exec(code))) return 0x60 + Number(m[1]);
      if ((m = /^F([0-9]+)$/.exec(code)) && Number(m[1]) >= 1 && Number(m[1]) <= 24)
        return 0x6F + Number(m[1]);
      if (SKTCH.codes[code]) return SKTCH.codes[code];
      if (e.key && e.key.length === 1) {
        var c = e.key.toUpperCase().charCodeAt(0);
        if (c >= 0x41 && c <= 0x5A) return c;
        if (c > 0x20 && c <= 0xFF) return 0xDF;
      }
      return 0;
    },

    // The character a key press types, in Latin-1; 0 for none.
    typed: function(e, vk) {
      if (e.altKey && !e.ctrlKey) return 0;
      if (e.ctrlKey && vk >= 0x41 && vk <= 0x5A) return vk - 0x40;
      if (e.ctrlKey && vk >= 0xDB && vk <= 0xDD) return [0x1B, 0x1C, 0x1D][vk - 0xDB];
      switch (e.key) {
        case 'Enter': return 13;
        case 'Backspace': return 8;
        case 'Tab': return 9;
        case 'Escape': return 0x1B;
        case 'Delete': return 0;
      }
      if (e.ctrlKey || !e.key || e.key.length !== 1) return 0;
      var c = e.key.charCodeAt(0);
      return c >= 0x20 && c <= 0xFF && c !== 0x7F ? c : 0;
    },

    keyTarget: function() {
      if (SKTCH.frames[SKTCH.focus]) return SKTCH.focus;
      for (var i = 0; i < SKTCH.order.length; ++i)
        if (SKTCH.frames[SKTCH.order[i]].menu.length) return SKTCH.order[i];
      return SKTCH.order.length ? SKTCH.order[0] : 0;
    },

    key: function(e, down) {
      if (SKTCH.dialog) return;
      var target = e.target;
      if (target && (target.tagName === 'INPUT' || target.tagName === 'TEXTAREA')) return;
      var id = SKTCH.keyTarget();
      var vk = SKTCH.virtualKey(e);
      if (!id || !vk) return;
      // The browser's own use of these keys would take them from the program; function keys
      // (reload, full screen, developer tools) stay the browser's.
      if (vk < 0x70 || vk > 0x87) e.preventDefault();
      if (down) SKTCH.closeMenus();
      _sktch_web_key(id, down ? 1 : 0, vk, down ? SKTCH.typed(e, vk) : 0, down && e.repeat ? 1 : 0);
      SKTCH.wakeUp();
    },

    listen: function() {
      if (SKTCH.listening) return;
      SKTCH.listening = true;
      document.addEventListener('keydown', function(e) { SKTCH.key(e, true); });
      document.addEventListener('keyup', function(e) { SKTCH.key(e, false); });
      document.addEventListener('click', function() { SKTCH.closeMenus(); });
      window.addEventListener('resize', function() {
        for (var id in SKTCH.frames) SKTCH.scale(SKTCH.frames[id]);
      });
    }
  },

  // Until a ?play= or ?record page's program first waits, its clock stands still, so that no
  // timer tick comes before the playback or recording starts: as a replay's virtual clock.
  sktch_web_now__deps: ['$SKTCH'],
  sktch_web_now: function() {
    var now = performance.now();
    if (SKTCH.clockHeld) SKTCH.clockOffset = now - SKTCH.clockStart;
    return now - SKTCH.clockOffset;
  },

  // Every wait of the program starts here; on the first, a ?play= page starts its playback,
  // as a replay does.
  sktch_web_waiting__deps: ['$SKTCH'],
  sktch_web_waiting: function() {
    SKTCH.startAutoplay();
    SKTCH.clockHeld = false;
  },

  sktch_web_wait__deps: ['$SKTCH'],
  sktch_web_wait: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      SKTCH.wake = wakeUp;
      if (ms >= 0) SKTCH.timer = setTimeout(SKTCH.wakeUp, ms);
    });
  },

  sktch_web_window__deps: ['$SKTCH'],
  sktch_web_window: function(id, title, style, width, height, visible) {
    SKTCH.listen();
    var f = SKTCH.frame(id);
    var text = SKTCH.latin1(title);
    f.caption.textContent = text;
    f.element.dataset.title = text;
    f.close.hidden = !(style & SKTCH.WS_SYSMENU);
    f.element.hidden = !visible;
    if (f.canvas.width !== width || f.canvas.height !== height) {
      f.canvas.width = width;
      f.canvas.height = height;
      f.context.fillStyle = '#fff';
      f.context.fillRect(0, 0, width, height);
    }
    SKTCH.scale(f);
    if (visible && !SKTCH.focus && f.menu.length) SKTCH.focus = id;
  },

  sktch_web_window_gone__deps: ['$SKTCH'],
  sktch_web_window_gone: function(id) {
    var f = SKTCH.frames[id];
    if (!f) return;
    f.element.remove();
    delete SKTCH.frames[id];
    SKTCH.order = SKTCH.order.filter(function(other) { return other !== id; });
    if (SKTCH.focus === id) SKTCH.focus = 0;
  },

  sktch_web_menu__deps: ['$SKTCH'],
  sktch_web_menu: function(id, json) {
    var f = SKTCH.frame(id);
    var text = UTF8ToString(json);
    f.menu = text ? JSON.parse(text) : [];
    SKTCH.buildMenu(f);
    SKTCH.followChecks(f);
  },

  sktch_web_present__deps: ['$SKTCH'],
  sktch_web_present: function(id, rgba, width, height) {
    var f = SKTCH.frames[id];
    if (!f) return;
    if (f.canvas.width !== width || f.canvas.height !== height) {
      f.canvas.width = width;
      f.canvas.height = height;
      SKTCH.scale(f);
    }
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    f.context.putImageData(new ImageData(pixels, width, height), 0, 0);
    if (!SKTCH.firstFrameAt) SKTCH.firstFrameAt = performance.now();
    ++SKTCH.frameCount;
  },

  // ---- dialogs ------------------------------------------------------------------------------

  sktch_web_dialog_show__deps: ['$SKTCH'],
  sktch_web_dialog_show: function(id, json) {
    var d = JSON.parse(UTF8ToString(json));
    var backdrop = document.createElement('div');
    backdrop.className = 'sktch-backdrop';
    var box = document.createElement('div');
    box.className = 'sktch-dialog';
    box.setAttribute('role', 'dialog');
    box.setAttribute('aria-modal', 'true');
    var title = document.createElement('div');
    title.className = 'sktch-title';
    var caption = document.createElement('span');
    caption.textContent = d.title;
    title.appendChild(caption);
    // IDCANCEL for the close box and Escape: the dialog's procedure decides what they do.
    var cancel = function() { SKTCH.post(id, SKTCH.WM_COMMAND, SKTCH.IDCANCEL, 0); };
    if (d.style & SKTCH.WS_SYSMENU) {
      var close = document.createElement('button');
      close.className = 'sktch-close';
      close.textContent = '\u00d7';
      close.title = 'Close';
      close.addEventListener('click', cancel);
      title.appendChild(close);
    }
    var body = document.createElement('div');
    body.className = 'sktch-dialog-body';
    body.style.width = d.width + 'px';
    body.style.height = d.height + 'px';
    var defaultId = 1;
    d.controls.forEach(function(c) {
      if (c.kind === 'button' && (c.style & 0xF) === 1) defaultId = c.id;
    });
    var first = null;
    var controls = {};
    d.controls.forEach(function(c) {
      var element;
      if (c.kind === 'button') {
        element = document.createElement('button');
        element.textContent = c.text.replace(/&(.)/g, '$1');
        element.addEventListener('click', function() { SKTCH.post(id, SKTCH.WM_COMMAND, c.id, 0); });
      } else if (c.kind === 'edit') {
        element = document.createElement((c.style & 0x4) ? 'textarea' : 'input');
        element.maxLength = 255;
        element.value = c.text;
        element.spellcheck = false;
        if (!first) first = element;
      } else {
        element = document.createElement('div');
        element.textContent = c.text;
      }
      element.className = 'sktch-control sktch-' + c.kind;
      element.style.left = c.x + 'px';
      element.style.top = c.y + 'px';
      element.style.width = c.width + 'px';
      element.style.height = c.height + 'px';
      element.dataset.id = c.id;
      controls[c.id] = element;
      body.appendChild(element);
    });
    box.addEventListener('keydown', function(e) {
      if (e.key === 'Enter' && !(e.target.tagName === 'TEXTAREA' && e.ctrlKey)) {
        e.preventDefault();
        SKTCH.post(id, SKTCH.WM_COMMAND, defaultId, 0);
      } else if (e.key === 'Escape') {
        e.preventDefault();
        cancel();
      }
    });
    box.appendChild(title);
    box.appendChild(body);
    backdrop.appendChild(box);
    document.body.appendChild(backdrop);
    SKTCH.closeMenus();
    SKTCH.dialog = {id: id, element: backdrop, controls: controls};
    (first || box.querySelector('button') || box).focus();
    return 1;
  },

  sktch_web_dialog_close__deps: ['$SKTCH'],
  sktch_web_dialog_close: function(id) {
    if (!SKTCH.dialog || SKTCH.dialog.id !== id) return;
    SKTCH.dialog.element.remove();
    SKTCH.dialog = null;
    var f = SKTCH.frames[SKTCH.keyTarget()];
    if (f) f.canvas.focus();
  },

  sktch_web_dialog_text__deps: ['$SKTCH', 'malloc'],
  sktch_web_dialog_text: function(id, control) {
    var d = SKTCH.dialog;
    var element = d && d.id === id ? d.controls[control] : null;
    var text = element ? (element.value !== undefined ? element.value : element.textContent) : '';
    text = text.replace(/\r?\n/g, '\r\n');
    var out = _malloc(text.length + 1);
    for (var i = 0; i < text.length; ++i) {
      var c = text.charCodeAt(i);
      HEAPU8[out + i] = c <= 0xFF ? c : 0x3F;
    }
    HEAPU8[out + text.length] = 0;
    return out;
  }
};

autoAddDeps(LibrarySKTCH, '$SKTCH');
mergeInto(LibraryManager.library, LibrarySKTCH);
