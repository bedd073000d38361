#pragma once

// A plain-text edit for scripts and reports: no word wrap, scroll bars when needed, the
// system's fixed-width font so that statements line up, and Ctrl+A selecting everything
// even when the text is read only.

#include <QPlainTextEdit>

class CEditRion : public QPlainTextEdit {
public:
    explicit CEditRion(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
