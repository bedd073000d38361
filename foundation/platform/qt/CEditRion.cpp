#include "foundation/platform/qt/CEditRion.h"

#include <QFontDatabase>
#include <QKeyEvent>

CEditRion::CEditRion(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void CEditRion::keyPressEvent(QKeyEvent* event) {
    // A read-only edit lets only the mouse select; the keyboard's select-all is kept.
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
