#include "browser/frmSearchText.h"

#include "component/widgets/DialogService.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

frmSearchText::frmSearchText(SearchTextValues& values, const QString& fieldCaption, bool internalVisible,
                             bool nextVisible, const QString& caption, const std::optional<QString>& typed,
                             QWidget* parent)
    : QDialog(parent), m_values(values)
{
    setObjectName(QStringLiteral("frmSearchText"));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblFieldName = new QLabel(fieldCaption, this);
    lblFieldName->setObjectName(QStringLiteral("lblFieldName"));
    QFont bold = lblFieldName->font();
    bold.setBold(true);
    lblFieldName->setFont(bold);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setMinimumWidth(txtSearch->fontMetrics().averageCharWidth() * 36);
    lblFieldName->setBuddy(txtSearch);
    chkInternal = new QCheckBox(QStringLiteral(" [F2] &Intern."), this);
    chkInternal->setObjectName(QStringLiteral("chkInternal"));
    chkInternal->setToolTip(QStringLiteral("Cerca anche all'interno delle stringhe"));
    chkInternal->setVisible(internalVisible);
    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdNext = new QPushButton(QStringLiteral("&Successivo [F3]"), this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdNext->setVisible(nextVisible);
    for (QPushButton* button : {cmdOk, cmdNext})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkInternal);
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdNext);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFieldName);
    layout->addWidget(txtSearch);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOk, &QPushButton::clicked, this, [this] { Confirm(false); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { Confirm(true); });
    connect(txtSearch, &QLineEdit::textEdited, this, [this] { MakeDefault(cmdOk); });
    connect(txtSearch, &QLineEdit::textChanged, this, &frmSearchText::FollowText);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] {
        if (!chkInternal->isHidden() && chkInternal->isEnabled())
            chkInternal->toggle();
    });
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] { Confirm(true); });

    // Opening: what was confirmed before is forgotten; the text proposed for
    // this same field comes back, ready for the next match.
    m_values.confirmedText.clear();
    m_values.confirmed = false;
    m_values.next = false;
    chkInternal->setChecked(m_values.contains);
    if (fieldCaption == m_values.rememberedField) {
        txtSearch->setText(m_values.proposedText);
        MakeDefault(nextVisible ? cmdNext : cmdOk);
    } else {
        MakeDefault(cmdOk);
    }
    FollowText();
    txtSearch->selectAll();
    if (typed) {
        // What was typed replaces the selected proposal, as in the box; the
        // next keys follow it.
        txtSearch->setText(*typed);
        MakeDefault(cmdOk);
        m_typed = true;
    }
    txtSearch->setFocus();
}

bool frmSearchText::GetSelection(SearchTextValues& values, QWidget* owner, const QString& fieldCaption,
                                 bool internalVisible, bool nextVisible, const QString& caption,
                                 const std::optional<QString>& typed)
{
    frmSearchText dialog(values, fieldCaption, internalVisible, nextVisible, caption, typed, owner);
    Dialogs().ExecModal(dialog);
    return values.confirmed;
}

void frmSearchText::setVisible(bool visible)
{
    // Showing a dialog selects the text of its focused box; what the user
    // typed to open it stays unselected, for the next keys to follow it.
    QDialog::setVisible(visible);
    if (visible && std::exchange(m_typed, false)) {
        txtSearch->deselect();
        txtSearch->end(false);
    }
}

void frmSearchText::MakeDefault(QPushButton* button)
{
    cmdOk->setDefault(button == cmdOk);
    cmdNext->setDefault(button == cmdNext);
}

void frmSearchText::FollowText()
{
    // A single character is looked for at the start whatever the box says.
    chkInternal->setEnabled(txtSearch->text().size() >= 2);
}

void frmSearchText::Confirm(bool next)
{
    m_values.confirmedText = txtSearch->text();
    m_values.proposedText = txtSearch->text();
    m_values.rememberedField = lblFieldName->text();
    m_values.contains = !chkInternal->isHidden() ? chkInternal->isChecked() && chkInternal->isEnabled()
                                                 : m_values.contains;
    m_values.confirmed = true;
    m_values.next = next;
    accept();
}
