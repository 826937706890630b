// A modal dialog made from the core's dialog description: a Qt dialog over its owner window,
// with a label, an edit box or a push button for each control, at the places the core
// computed. Its input turns into messages for the dialog window; the core runs the loop.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "core/backend.h"

namespace sktch::platform::qt {

// An edit box: Enter presses the dialog's default button and Ctrl+Enter starts a new line
// (only in a multi-line box), as in a Win32 dialog; Tab moves the focus on.
class DialogEdit final : public QPlainTextEdit {
    Q_OBJECT
  public:
    DialogEdit(HWND dialog, WORD default_id, bool multiline, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    HWND dialog_;
    WORD default_id_;
    bool multiline_;
};

class DialogBox final : public QDialog {
    Q_OBJECT
  public:
    // `owner` is the owner's top-level widget (null for none), `client` the widget of its
    // client area, against which the description's places are measured.
    DialogBox(HWND dialog, const DialogDescription& description, QWidget* owner, QWidget* client);

    // The text a control holds now, in Latin-1; an edit box's lines end in "\r\n".
    std::string control_text(int id) const;

  public slots:
    // The dialog procedure alone ends the dialog: Qt's own ways of ending it do nothing.
    void accept() override {}
    void reject() override {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Control {
        int id;
        QWidget* widget;
    };

    HWND dialog_;
    std::vector<Control> controls_;
};

// Makes and shows the dialog for the core's dialog window; false when it cannot be shown.
bool show_dialog(HWND dialog, const DialogDescription& description);
// Deletes the dialog's widgets.
void close_dialog(HWND dialog);
// What a control of a shown dialog holds now; empty for an unknown dialog or control.
std::string dialog_control_text(HWND dialog, int id);

// Latin-1 text as a Win32 edit control gives it: each line break (whatever its kind)
// becomes "\r\n", and a character outside Latin-1 becomes '?'.
std::string edit_text_to_latin1(const QString& text);

}  // namespace sktch::platform::qt
