#pragma once
// The column-value dialog: the text to look for in one column (or to filter
// it by), whether it may lie inside the column's text, and whether the next
// match is wanted. Its values outlive the window, for the life of the main
// window that keeps them.

#include <QDialog>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct SearchTextValues
{
    QString rememberedField; // the label the dialog was last confirmed for
    QString proposedText;    // put in the box when the dialog opens for that field
    QString confirmedText;   // cleared at every opening; empty when closed with Esc
    bool contains = false;   // "Intern." checked and enabled at confirmation
    bool confirmed = false;
    bool next = false;       // closed with "Successivo"; callers set it to ask for the next match
};

class frmSearchText : public QDialog
{
    Q_OBJECT

public:
    // `typed`: keys the user typed in the grid to open the dialog, which
    // land in the box as if typed there (an empty text is a Backspace).
    frmSearchText(SearchTextValues& values, const QString& fieldCaption, bool internalVisible, bool nextVisible,
                  const QString& caption, const std::optional<QString>& typed = std::nullopt, QWidget* parent = nullptr);

    // Shows the dialog modally for a field; true when confirmed.
    static bool GetSelection(SearchTextValues& values, QWidget* owner, const QString& fieldCaption, bool internalVisible,
                             bool nextVisible, const QString& caption = QStringLiteral("Cerca in"),
                             const std::optional<QString>& typed = std::nullopt);

    QLabel* lblFieldName;
    QLineEdit* txtSearch;
    QCheckBox* chkInternal;
    QPushButton* cmdOk;
    QPushButton* cmdNext;

    void setVisible(bool visible) override;

private:
    void Confirm(bool next);
    void FollowText();
    void MakeDefault(QPushButton* button);

    SearchTextValues& m_values;
    bool m_typed = false;
};
