#include "app/DefaultTicketScript.h"

#include <QStringList>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// The lines joined by CR LF; the function's last line is followed by two CR LF
// pairs so that an empty line separates it from the next function.
QString JoinFunction(const QStringList& lines)
{
    return lines.join(kLineEnd) + kLineEnd + kLineEnd;
}

} // namespace

QString DefaultTicketMaskScript()
{
    static const QStringList lines{
        QStringLiteral(u"Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)"),
        QStringLiteral(u"  ' Composizione del codice per la stampa della maschera della ricevuta"),
        QStringLiteral(u"  ' usando VBScript, i campi della collection flds(), fldsCliente() e fldsTipoDoc() (ADODB.Fields)"),
        QStringLiteral(u"  ' relativi alla Ricevuta corrente, l'oggetto di stampa (prn),"),
        QStringLiteral(u"  ' il nome/rag.sociale del ristorante gestito (sName),"),
        QStringLiteral(u"  ' e l'indicatore di fine ricevuta (bTotal)"),
        QStringLiteral(u"  ' Sono supportati i seguenti metodi:"),
        QStringLiteral(u"  ' prn.BoxOut [nYPos], [nXPos], [nYDim], [nXDim]"),
        QStringLiteral(u"  ' prn.TxtOut [nYPos], [nXPos], [sText]"),
        QStringLiteral(u"  ' prn.SetFont [nSize], [bBold], [bItalic], [sFontName]"),
        QStringLiteral(u"  ' (tutti i parametri [nYPos], [nXPos], [nYDim], [nXDim], [nSize] sono espressi in millimetri)"),
        QStringLiteral(u"  ' Le posizioni sono relative alla ricevuta corrente"),
        QString(),
        QStringLiteral(u"  ' Dati disponibili in flds(): Importo_Ricevuta, Numero, Data, Note"),
        QStringLiteral(u"  ' Dati disponibili in fldsCliente(): Ragione_Sociale, Indirizzo, CAP, Comune, Provincia, Partita_Iva, Telefono, Cellulare, Fax, Note"),
        QStringLiteral(u"  ' Dati disponibili in fldsTipoDoc(): Descrizione, Fattura, Ricevuta_Fiscale"),
        QString(),
        QStringLiteral(u"  ' Riportare False per annullare la stampa"),
        QStringLiteral(u"  PrintTicketMask = True"),
        QString(),
        QStringLiteral(u"End Function"),
    };
    return JoinFunction(lines);
}

QString DefaultTicketRowScript()
{
    static const QStringList lines{
        QStringLiteral(u"Function PrintTicketRow(flds, prn, nRow)"),
        QStringLiteral(u"  ' Composizione del codice per la stampa di una riga della ricevuta"),
        QStringLiteral(u"  ' usando VBScript, i campi della collection flds() (ADODB.Fields)"),
        QStringLiteral(u"  ' relativi alle RigheRicevute, l'oggetto di stampa (prn)"),
        QStringLiteral(u"  ' e il numero della riga in stampa (nRow)"),
        QStringLiteral(u"  ' Sono supportati i seguenti metodi:"),
        QStringLiteral(u"  ' prn.BoxOut [nYPos], [nXPos], [nYDim], [nXDim]"),
        QStringLiteral(u"  ' prn.TxtOut [nYPos], [nXPos], [sText]"),
        QStringLiteral(u"  ' prn.SetFont [nSize], [bBold], [bItalic], [sFontName]"),
        QStringLiteral(u"  ' (tutti i parametri [nYPos], [nXPos], [nYDim], [nXDim], [nSize] sono espressi in millimetri)"),
        QStringLiteral(u"  ' Le posizioni sono relative alla riga corrente nell'area riservata (vedi parametri)"),
        QString(),
        QStringLiteral(u"  ' Dati disponibili in flds(): Nome, Importo_Riga, Quantità, Descrizione, Portata (Prezzo, Fuori_Menù, Data, Progressivo)"),
        QString(),
        QStringLiteral(u"  ' Riportare False per annullare la stampa"),
        QStringLiteral(u"  PrintTicketRow = True"),
        QString(),
        QStringLiteral(u"End Function"),
    };
    return JoinFunction(lines);
}

QString DefaultTicketScript()
{
    return DefaultTicketMaskScript() + DefaultTicketRowScript();
}
