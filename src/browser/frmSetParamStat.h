#pragma once
// "Impostazione criteri di ricerca": period and document type of the receipt
// lists. The values last confirmed are kept for the whole run.

#include <QDate>
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

class frmSetParamStat : public QDialog
{
    Q_OBJECT

public:
    frmSetParamStat(const QStringList& documentTypes, QWidget* parent = nullptr);

    bool Confirmed() const { return m_confirmed; }
    static QString Sel_TipoDoc();
    static QDate Sel_DaData();
    static QDate Sel_AData();
    // Forgets the kept values (tests).
    static void ResetKept();

    QComboBox* cmbTipoDoc;
    QLineEdit* txtDaData;
    QLineEdit* txtAData;
    QPushButton* cmdSearch;
    QPushButton* cmdClear;
    QPushButton* cmdCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Search();
    void Clear();

    bool m_confirmed = false;
};
