#include "comparer/ResultViewMessageBox.h"

#include "foundation/platform/MessageBox.h"

void ResultViewMessageBox::showInformation(const std::u16string& text,
                                           const std::u16string& caption) {
    platform::showMessage(caption, text);
}

void ResultViewMessageBox::showError(const std::u16string& text, const std::u16string& caption) {
    platform::showMessage(caption, text);
}

void ResultViewMessageBox::showWarning(const std::u16string& text, const std::u16string& caption) {
    platform::showMessage(caption, text);
}
