// The dialog template reader, bounded so that damaged bytes are refused, never overrun.
#include "core/dialog_template.h"

#include <cstring>

namespace sktch::platform {
namespace {

constexpr std::size_t kMaxControls = 255;
constexpr std::size_t kMaxString = 4096;

class Reader {
  public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool word(WORD& out) {
        if (size_ - at_ < 2) return false;
        out = WORD(data_[at_] | data_[at_ + 1] << 8);
        at_ += 2;
        return true;
    }
    bool dword(DWORD& out) {
        WORD low, high;
        if (!word(low) || !word(high)) return false;
        out = DWORD(low) | DWORD(high) << 16;
        return true;
    }
    bool signed_word(short& out) {
        WORD w;
        if (!word(w)) return false;
        out = static_cast<short>(w);
        return true;
    }
    // A zero-terminated 16-bit string.
    bool string(std::string& out) {
        out.clear();
        for (WORD c; word(c);) {
            if (c == 0) return true;
            if (out.size() >= kMaxString) return false;
            out.push_back(c < 256 ? char(c) : '?');
        }
        return false;
    }
    // A string, or 0xFFFF and an ordinal (returned in `ordinal`, -1 for a string).
    bool string_or_ordinal(std::string& text, int& ordinal) {
        WORD first;
        if (!word(first)) return false;
        ordinal = -1;
        if (first == 0xFFFF) {
            WORD value;
            if (!word(value)) return false;
            ordinal = value;
            text.clear();
            return true;
        }
        at_ -= 2;
        return string(text);
    }
    bool align4() {
        std::size_t aligned = (at_ + 3) & ~std::size_t(3);
        if (aligned > size_) return false;
        at_ = aligned;
        return true;
    }
    bool skip(std::size_t n) {
        if (size_ - at_ < n) return false;
        at_ += n;
        return true;
    }

  private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool read_rect(Reader& r, RECT& units) {
    short x, y, cx, cy;
    if (!r.signed_word(x) || !r.signed_word(y) || !r.signed_word(cx) || !r.signed_word(cy))
        return false;
    units = {x, y, x + cx, y + cy};
    return true;
}

}  // namespace

bool read_dialog_template(const void* data, std::size_t size, DialogTemplate& out) {
    if (!data) return false;
    Reader r(static_cast<const unsigned char*>(data), size);
    DWORD extended;
    WORD count;
    std::string ignored;
    int ordinal;
    out = DialogTemplate{};
    if (!r.dword(out.style) || !r.dword(extended) || !r.word(count) || !read_rect(r, out.units))
        return false;
    if (count > kMaxControls) return false;
    if (!r.string_or_ordinal(ignored, ordinal)) return false;  // menu
    if (!r.string_or_ordinal(ignored, ordinal)) return false;  // class
    if (!r.string(out.title)) return false;
    if (out.style & DS_SETFONT) {
        WORD points;
        if (!r.word(points) || !r.string(ignored)) return false;
    }
    for (WORD i = 0; i < count; ++i) {
        DialogControl control;
        DWORD item_extended;
        if (!r.align4() || !r.dword(control.style) || !r.dword(item_extended) ||
            !read_rect(r, control.units) || !r.word(control.id))
            return false;
        std::string class_name;
        if (!r.string_or_ordinal(class_name, ordinal)) return false;
        if (ordinal == 0x0080 || class_name == "BUTTON" || class_name == "Button")
            control.kind = DialogControl::Kind::Button;
        else if (ordinal == 0x0081 || class_name == "EDIT" || class_name == "Edit")
            control.kind = DialogControl::Kind::Edit;
        else if (ordinal == 0x0082 || class_name == "STATIC" || class_name == "Static")
            control.kind = DialogControl::Kind::Static;
        if (!r.string_or_ordinal(control.text, ordinal)) return false;
        WORD extra;
        if (!r.word(extra) || !r.skip(extra)) return false;  // creation data
        out.controls.push_back(std::move(control));
    }
    return true;
}

}  // namespace sktch::platform

namespace sktch::platform {

const DialogControl* default_button(const DialogTemplate& dialog) {
    const DialogControl* found = nullptr;
    for (const DialogControl& c : dialog.controls)
        if (c.kind == DialogControl::Kind::Button && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            found = &c;
    return found;
}

WORD default_command(const DialogTemplate& dialog) {
    const DialogControl* button = default_button(dialog);
    return button ? button->id : WORD(IDOK);
}

}  // namespace sktch::platform
