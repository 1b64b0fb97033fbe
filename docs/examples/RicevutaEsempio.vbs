Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)
  ' Ricevuta su modulo 121 x 203 mm, righe da 85 a 165 mm, 6 mm l'una
  prn.BoxOut 2, 2, 199, 117
  prn.SetFont 16, True, False, "Arial"
  prn.TxtOut 7, 8, sName
  prn.SetFont 8, False, True, "Arial"
  prn.TxtOut 15, 8, "Via dell'Indipendenza 12 - 40121 Bologna - Tel. 051 234567"
  prn.TxtOut 19, 8, "P.IVA 01234567890"
  prn.BoxOut 25, 6, 0, 109
  prn.SetFont 11, True, False, "Arial"
  prn.TxtOut 29, 8, UCase(fldsTipoDoc("Descrizione")) & " N. " & flds("Numero") & "/" & flds("AnnoFiscale")
  prn.SetFont 10, False, False, "Arial"
  prn.TxtOut 35, 8, "Data " & FormatDateTime(flds("Data"), vbShortDate) & "  ore " & FormatDateTime(flds("Data"), vbShortTime)
  If Not IsNull(fldsCliente("Ragione_Sociale")) Then
    prn.TxtOut 45, 8, "Spett.le " & fldsCliente("Ragione_Sociale")
    If fldsCliente("Indirizzo") & "" <> "" Then prn.TxtOut 50, 8, fldsCliente("Indirizzo")
    If fldsCliente("Comune") & "" <> "" Then prn.TxtOut 55, 8, fldsCliente("CAP") & " " & fldsCliente("Comune") & " (" & fldsCliente("Provincia") & ")"
    If fldsCliente("Partita_Iva") & "" <> "" Then prn.TxtOut 60, 8, "P.IVA " & fldsCliente("Partita_Iva")
  End If
  If flds("Note") & "" <> "" Then prn.TxtOut 68, 8, "Note: " & flds("Note")
  prn.SetFont 9, True, False, "Arial"
  prn.TxtOut 78, 8, "Q.tà"
  prn.TxtOut 78, 22, "Descrizione"
  prn.TxtOut 78, 96, "Importo"
  prn.BoxOut 83, 6, 0, 109
  prn.BoxOut 167, 6, 0, 109
  If bTotal Then
    prn.SetFont 14, True, False, "Arial"
    prn.TxtOut 172, 8, "TOTALE EURO"
    prn.SetFont 14, True, False, "Courier New"
    prn.TxtOut 172, 72, Right(Space(12) & FormatNumber(flds("Importo_Ricevuta"), 2), 12)
  Else
    prn.SetFont 10, False, True, "Arial"
    prn.TxtOut 172, 8, "segue sulla ricevuta successiva..."
  End If
  prn.SetFont 8, False, False, "Arial"
  prn.TxtOut 192, 8, "Grazie e arrivederci!"
  PrintTicketMask = True
End Function

Function PrintTicketRow(flds, prn, nRow)
  ' Quantità, nome e importo della riga, in colonne di larghezza fissa
  prn.SetFont 10, False, False, "Courier New"
  prn.TxtOut 0.5, 8, Right("   " & flds("Quantità"), 3)
  prn.TxtOut 0.5, 22, Left(flds("Nome"), 28)
  prn.TxtOut 0.5, 86, Right(Space(10) & FormatNumber(flds("Importo_Riga"), 2), 10)
  PrintTicketRow = True
End Function
