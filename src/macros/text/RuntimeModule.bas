Option Compare Text

' The Presentation's runtime module: back to the cover and the menu, closing,
' printing through Excel, Word and PowerPoint, and undoing what the display
' of a Word line changed in Word. The menu form calls these procedures.

Public SwCanc As Byte
#If VBA7 Then
Public Declare PtrSafe Function GetAsyncKeyState Lib "user32" (ByVal vKey As Long) As Integer
#Else
Public Declare Function GetAsyncKeyState Lib "user32" (ByVal vKey As Long) As Integer
#End If
Public wd_prt As Variant
Public xl_prt As Variant
Public nm_flg As Variant
Public lbt As Variant
Public n_sleep As Variant
Public dt_mese As Variant
Public Lang As String
Public pw_cust As String

' Bound to Alt+F4 and Esc: hides the displayed sheet again and shows the
' cover with the backdrop and the menu, which selects the sheet's line.
Public Sub DisSheet()
    Dim dati As Object
    Dim sh As Object
    Dim impo As String
    Set dati = ThisWorkbook.Worksheets("DATA")
    impo = dati.Cells(1, 12).Value
    pw_cust = Trim(Mid(impo, InStrRev(impo, "|") + 1))
    ThisWorkbook.Unprotect pw_cust
    ThisWorkbook.Worksheets("START").Visible = xlSheetVisible
    nm_flg = ActiveSheet.Name
    For Each sh In ThisWorkbook.Sheets
        If sh.Name <> "START" Then sh.Visible = xlSheetVeryHidden
    Next sh
    ThisWorkbook.Protect Password:=pw_cust, Structure:=True
    UserForm00.Show vbModeless
    Us_Menu.Show
End Sub

' The menu's "Exit": closes the documents the Presentation opened, undoes
' Word's display settings when a Word line was shown or printed, and closes.
Public Sub Chiudi()
    Dim wd As Object
    Dim pp As Object
    Dim i As Long
    On Error Resume Next
    Set wd = GetObject(, "word.application")
    If Not wd Is Nothing Then
        For i = wd.Documents.Count To 1 Step -1
            If InStr(1, wd.Documents(i).Name, ThisWorkbook.Name) > 0 Then
                wd.Documents(i).Close SaveChanges:=0
                If wd.Documents.Count = 0 Then
                    wd.Quit SaveChanges:=0
                    Set wd = Nothing
                    Exit For
                End If
            End If
        Next i
    End If
    Set pp = GetObject(, "powerpoint.application")
    If Not pp Is Nothing Then
        For i = pp.Presentations.Count To 1 Step -1
            If InStr(1, pp.Presentations(i).FullName, ThisWorkbook.Name) > 0 Then pp.Presentations(i).Close
        Next i
    End If
    On Error GoTo 0
    If Trim(CStr(ThisWorkbook.Worksheets("START").Range("A1").Value)) = "1" Then TogliWdFullScreenResetStp 0
    Application.DisplayFullScreen = False
    ChiudiWb
End Sub

' Asks once per print command for the printer. ext comes back 1 when nothing
' is to be printed. For Word and PowerPoint the printer's name is looked for
' among the leading words of Excel's printer text (name, then port).
Public Sub PrtSetUp(ext, tipo)
    Dim chosen As Boolean
    Dim wd As Object
    Dim pos As Long
    Dim candidate As String
    ext = 0
    chosen = Application.Dialogs(xlDialogPrinterSetup).Show
    xl_prt = Trim(Application.ActivePrinter)
    If Not chosen Then
        ext = 1
        Exit Sub
    End If
    If tipo = "XLS" Then Exit Sub
    Set wd = CreateObject("word.application")
    If Trim(ThisWorkbook.Worksheets("START").Range("B1").Value) = "" Then
        ThisWorkbook.Worksheets("START").Range("B1").Value = wd.ActivePrinter
    End If
    wd_prt = ""
    pos = InStr(1, xl_prt, " ")
    On Error Resume Next
    If pos = 0 Then
        Err.Clear
        wd.ActivePrinter = xl_prt
        If Err.Number = 0 Then wd_prt = xl_prt
    End If
    Do While pos > 0
        candidate = Left(xl_prt, pos - 1)
        Err.Clear
        wd.ActivePrinter = candidate
        If Err.Number = 0 Then
            wd_prt = candidate
            Exit Do
        End If
        pos = InStr(pos + 1, xl_prt, " ")
    Loop
    On Error GoTo 0
    If wd_prt = "" Then
        If Lang = "I" Then MsgBox "Errore stampante: " & xl_prt Else MsgBox "Printer error: " & xl_prt
        ext = 1
        wd.Quit SaveChanges:=0
        Set wd = Nothing
        Exit Sub
    End If
    wd.Quit SaveChanges:=0
    Set wd = Nothing
End Sub

' The file kind: the text after the last "." of nome, all of nome without one.
Public Function appl(nome)
    Dim p As Long
    p = InStrRev(nome, ".")
    If p = 0 Then
        appl = nome
    Else
        appl = Mid(nome, p + 1)
    End If
End Function

' Prints one line sheet on Excel's chosen printer.
Public Sub StpExcel(flg, descr)
    Dim sh As Object
    ThisWorkbook.Unprotect pw_cust
    On Error Resume Next
    Set sh = ThisWorkbook.Worksheets(flg)
    sh.Visible = xlSheetVisible
    If Err.Number <> 0 Then
        On Error GoTo 0
        If Lang = "I" Then MsgBox descr & vbCr & vbCr & "E' stato cancellato!!" Else MsgBox descr & vbCr & vbCr & "Has been deleted!!"
        ' Nothing to print: the workbook is protected again and the print goes on with the next line.
        ThisWorkbook.Protect Password:=pw_cust, Structure:=True
        Exit Sub
    End If
    On Error GoTo 0
    Application.ActivePrinter = xl_prt
    sh.PrintOut
    sh.Visible = xlSheetVeryHidden
    ThisWorkbook.Protect Password:=pw_cust, Structure:=True
End Sub

' Prints one embedded Word document, whole or from page PrDiap to UltDiap.
Public Sub StpWord(dati, nome, PrDiap, UltDiap)
    Dim wd As Object
    Dim doc As Object
    ThisWorkbook.Worksheets("START").Range("A1").Value = 1
    PrDiap = CStr(PrDiap)
    UltDiap = CStr(UltDiap)
    dati.OLEObjects(nome).Activate
    Set wd = GetObject(, "word.application")
    Set doc = wd.ActiveDocument
    If doc.ProtectionType <> -1 Then doc.Unprotect pw_cust
    doc.Content.Font.Hidden = False
    wd.ActivePrinter = wd_prt
    If Val(PrDiap) > 0 Then
        doc.PrintOut Background:=False, Range:=3, From:=PrDiap, To:=UltDiap
    Else
        doc.PrintOut Background:=False
    End If
    If wd.Documents.Count > 1 Then
        doc.Close SaveChanges:=0
    Else
        wd.Quit SaveChanges:=0
    End If
End Sub

' Prints one embedded PowerPoint presentation, all slides or PrDiap to UltDiap.
Public Sub StpPpoint(dati, nome, PrDiap, UltDiap)
    Dim pres As Object
    ThisWorkbook.Worksheets("START").Range("A1").Value = 1
    dati.OLEObjects(nome).Activate
    Set pres = GetObject(, "powerpoint.application").ActivePresentation
    If Val(PrDiap) = 0 Then
        PrDiap = 1
        UltDiap = pres.Slides.Count
    End If
    pres.PrintOptions.ActivePrinter = wd_prt
    pres.PrintOut From:=PrDiap, To:=UltDiap
    pres.Close
    n_sleep = 1
    ritd 0
End Sub

' Leaves only pages pr_pag to ult_pag of a Word document visible (all of it
' when pr_pag is 0) and protects it so that it allows only comments.
Public Sub PageHidd(actdoc, pr_pag, ult_pag)
    Dim nchr As Long
    Dim firstPos As Long
    Dim lastPos As Long
    Dim startLast As Long
    Dim startAfter As Long
    If actdoc.ProtectionType <> -1 Then actdoc.Unprotect pw_cust
    actdoc.Content.Font.Hidden = False
    If Val(pr_pag) > 0 Then
        nchr = actdoc.Characters.Count
        firstPos = actdoc.GoTo(What:=1, Which:=1, Count:=Val(pr_pag)).Start
        startAfter = actdoc.GoTo(What:=1, Which:=1, Count:=Val(ult_pag) + 1).Start
        startLast = actdoc.GoTo(What:=1, Which:=1, Count:=Val(ult_pag)).Start
        ' Past the last page Word stays on it: the range then runs to the end.
        If startAfter = startLast Then
            lastPos = nchr
        Else
            lastPos = startAfter - 1
        End If
        actdoc.ActiveWindow.View.ShowHiddenText = False
        actdoc.Content.Font.Hidden = True
        actdoc.Range(firstPos, lastPos).Font.Hidden = False
    End If
    actdoc.Protect Type:=1, NoReset:=False, Password:=pw_cust
End Sub

' Waits n_sleep seconds, letting events run. Timer starts again from zero at
' midnight: the elapsed time is measured across that wrap.
Public Sub ritd(dmy)
    Dim started As Single
    Dim elapsed As Single
    started = Timer
    Do
        DoEvents
        elapsed = Timer - started
        If elapsed < 0 Then elapsed = elapsed + 86400
    Loop While elapsed < n_sleep
End Sub

' Undoes Word's full-screen display and Esc binding, and gives Word back the
' printer it had before the Presentation printed.
Public Sub TogliWdFullScreenResetStp(dmy)
    Dim wd As Object
    Dim prt As String
    ThisWorkbook.Worksheets("START").Range("A1").ClearContents
    On Error Resume Next
    Set wd = GetObject(, "word.application")
    ' A running Word is quit only when it holds no document: the user may have
    ' opened documents of his own in it since.
    If Not wd Is Nothing Then
        If wd.Documents.Count = 0 Then wd.Quit SaveChanges:=0
    End If
    Set wd = Nothing
    On Error GoTo 0
    Set wd = CreateObject("word.application")
    wd.Visible = False
    wd.Documents.Add
    wd.ActiveDocument.ActiveWindow.View.FullScreen = False
    wd.FindKey(27).Clear
    prt = Trim(ThisWorkbook.Worksheets("START").Range("B1").Value)
    If prt <> "" And prt <> wd.ActivePrinter Then wd.ActivePrinter = prt
    wd.Quit SaveChanges:=0
    Set wd = Nothing
End Sub

' Closes the Presentation without saving; the workbook's close event quits
' Excel when it was Excel's only workbook.
Public Sub ChiudiWb()
    If Application.Workbooks.Count > 1 Then
        SwCanc = 1
    Else
        SwCanc = 2
    End If
    ThisWorkbook.Close SaveChanges:=False
End Sub
