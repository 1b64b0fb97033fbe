#include "browser/KeyPreview.h"

#include <QString>

namespace {

bool IsTypingKey(int key, bool keypad)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return true;
    if (keypad && (key == Qt::Key_Asterisk || key == Qt::Key_Slash || key == Qt::Key_Minus || key == Qt::Key_Plus))
        return true;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Minus:
    case Qt::Key_Escape:
    case Qt::Key_Backspace:
        return true;
    default:
        return false;
    }
}

bool IsAccentedLetter(const QString& text)
{
    return text.size() == 1 && text.at(0).unicode() > 0x7f && text.at(0).isLetter();
}

} // namespace

PreviewCommand PreviewKey(int key, Qt::KeyboardModifiers modifiers, bool searchTakesTyping, const QString& text)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_R && held == (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return PreviewCommand::EuroConversion;
    // An Italian keyboard has its own keys for the accented vowels (è, à,
    // ò, ù, ì; é and the capitals with Shift): a name that starts with one
    // is searched for as the other letters are.
    if (searchTakesTyping && (held & ~Qt::ShiftModifier) == Qt::NoModifier && IsAccentedLetter(text))
        return PreviewCommand::TypeToSearch;
    if (held != Qt::NoModifier)
        return PreviewCommand::None;
    if (key == Qt::Key_Insert || (keypad && key == Qt::Key_Plus))
        return PreviewCommand::NewRecord;
    if (key == Qt::Key_Delete)
        return PreviewCommand::DeleteRecord;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return PreviewCommand::EditRecord;
    if (searchTakesTyping && IsTypingKey(key, keypad))
        return PreviewCommand::TypeToSearch;
    return PreviewCommand::None;
}

QString EuroConversionQuestion()
{
    return QStringLiteral("ATTENZIONE! - Questa operazione converte la valuta e deve essere guidata da supporto "
                          "tecnico...\r\rContinuare ?\r\r");
}
