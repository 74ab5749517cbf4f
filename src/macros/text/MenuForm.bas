Option Compare Text

' The Presentation Menu. Its designer is empty: the list, the labels and the
' buttons are made here at run time. A click on a line displays it, Ctrl+Click
' prints it, the print button prints the whole Presentation.

Dim WithEvents ListBox1 As MSForms.ListBox
Dim WithEvents Label4 As MSForms.Label
Dim WithEvents Label5 As MSForms.Label
Dim WithEvents CommandButton1 As MSForms.CommandButton
Dim WithEvents CommandButton2 As MSForms.CommandButton
Dim nfile As Variant
Dim flgi As Variant
Dim flgo As Variant
Dim descr As Variant
Dim objn As Variant
Dim PrDiap As Variant
Dim UltDiap As Variant
Dim dati As Object
Dim sw1 As Byte
Dim swindex As Integer

Private Sub UserForm_Initialize()
    Dim impo As String
    Dim bar1 As Long
    Dim bar2 As Long
    Dim bar3 As Long
    Dim subtitle As String
    Dim title As String
    Dim label1 As Object
    Dim ole As Object
    Dim hasWord As Boolean
    Dim hasPowerPoint As Boolean
    Dim wd As Object
    Dim pp As Object
    Dim others As String
    Dim question As String
    Dim i As Long
    Dim r As Long
    Dim n As Long
    Dim widest As Long
    Dim entry As String
    Dim excl As String
    Dim groupName As Variant
    Dim sh As Object
    Dim remembered As Long
    On Error GoTo ErrHandler

    ' The settings text: subtitle|title|language|password.
    Set dati = ThisWorkbook.Worksheets("DATA")
    impo = dati.Cells(1, 12).Value
    bar1 = InStr(1, impo, "|")
    bar2 = InStr(bar1 + 1, impo, "|")
    bar3 = InStr(bar2 + 1, impo, "|")
    subtitle = Trim(Left(impo, bar1 - 1))
    title = Trim(Mid(impo, bar1 + 1, bar2 - bar1 - 1))
    Lang = Trim(Mid(impo, bar2 + 1, bar3 - bar2 - 1))
    pw_cust = Trim(Mid(impo, bar3 + 1))

    Me.Height = 450
    Me.Left = 0
    Me.Top = 0
    Me.Width = 600
    Me.Caption = title & " - Presentation Menu"
    Me.StartUpPosition = 2

    Set ListBox1 = Me.Controls.Add("Forms.ListBox.1", "listbox1")
    With ListBox1
        .Height = 230
        .Left = 50
        .Top = 78
        .Width = 500
        .Font.Size = 12
        .Font.Bold = True
        .Font.Name = "courier new"
        If Lang = "I" Then
            .ControlTipText = "Click: visualizza - Ctrl+Click: stampa una riga Excel,Word o PowerPoint"
        Else
            .ControlTipText = "Click: display - Ctrl+Click: print an Excel,Word or PowerPoint line"
        End If
    End With

    Set label1 = Me.Controls.Add("Forms.label.1", "label1")
    With label1
        .Height = 40
        .Left = 18
        .Top = 390
        .Width = 100
        .Font.Bold = True
        If Lang = "I" Then
            .Caption = "Alt+F4 o Esc:           torna a questo Menu"
        Else
            .Caption = "Alt+F4 or Esc:        return this Menu"
        End If
    End With

    Set Label4 = Me.Controls.Add("Forms.label.1", "label4")
    With Label4
        .Height = 20
        .Left = 50
        .Top = 24
        .Width = 500
        .Font.Size = 16
        .Font.Bold = True
        .Font.Underline = True
        .TextAlign = fmTextAlignCenter
    End With

    Set Label5 = Me.Controls.Add("Forms.label.1", "label5")
    With Label5
        .Height = 20
        .Left = 50
        .Top = 45
        .Width = 500
        .Font.Size = 16
        .TextAlign = fmTextAlignCenter
        .Caption = subtitle
    End With

    Set CommandButton1 = Me.Controls.Add("Forms.CommandButton.1", "commandbutton1")
    With CommandButton1
        .Height = 24
        .Left = 120
        .Top = 310
        .Width = 120
        .Caption = "Exit"
    End With

    Set CommandButton2 = Me.Controls.Add("Forms.CommandButton.1", "commandbutton2")
    With CommandButton2
        .Height = 24
        .Left = 360
        .Top = 310
        .Width = 120
        If Lang = "I" Then
            .Caption = "Stampa la Presentazione"
            .ControlTipText = "Soltanto Excel,Word e PowerPoint"
        Else
            .Caption = "Print the Presentation"
            .ControlTipText = "Only Excel,Word and PowerPoint"
        End If
    End With

    ' Which applications the embedded documents belong to.
    hasWord = False
    hasPowerPoint = False
    For Each ole In dati.OLEObjects
        If InStr(1, ole.progID, "WORD") > 0 Then hasWord = True
        If InStr(1, ole.progID, "POWER") > 0 Then hasPowerPoint = True
    Next ole

    ' A running Word: this Presentation's documents are closed, the user is
    ' asked about any other before Word is quit.
    If hasWord Then
        On Error Resume Next
        Set wd = GetObject(, "word.application")
        If Not wd Is Nothing Then
            others = ""
            i = 1
            Do While i <= wd.Documents.Count
                If InStr(1, wd.Documents(i).Name, ThisWorkbook.Name) > 0 Then
                    wd.Documents(i).Close SaveChanges:=0
                Else
                    others = others & wd.Documents(i).Name & vbCr
                    i = i + 1
                End If
            Loop
            If others <> "" Then
                If Lang = "I" Then
                    question = "Risultano aperti i seguenti documenti Word:" & vbCr & vbCr & others & vbCr & "saranno chiusi senza essere salvati. Continuare?"
                Else
                    question = "The following documents Word are opened:" & vbCr & vbCr & others & vbCr & "its will be closed without be saved. Do you want continue?"
                End If
                If MsgBox(question, vbYesNo + vbDefaultButton2) = vbNo Then ChiudiWb
            End If
            wd.Quit SaveChanges:=0
            Set wd = Nothing
        End If
        On Error GoTo ErrHandler
    End If

    ' The same for a running PowerPoint.
    If hasPowerPoint Then
        On Error Resume Next
        Set pp = GetObject(, "powerpoint.application")
        If Not pp Is Nothing Then
            others = ""
            i = 1
            Do While i <= pp.Presentations.Count
                If InStr(1, pp.Presentations(i).FullName, ThisWorkbook.Name) > 0 Then
                    pp.Presentations(i).Close
                Else
                    others = others & pp.Presentations(i).Name & vbCr
                    i = i + 1
                End If
            Loop
            If others <> "" Then
                If Lang = "I" Then
                    question = "Risultano aperte le seguenti presentazioni Powerpoint:" & vbCr & vbCr & others & vbCr & "saranno chiuse senza essere salvate. Continuare?"
                Else
                    question = "The following presentations Powerpoint are opened:" & vbCr & vbCr & others & vbCr & "its will be closed without be saved. Do you want continue?"
                End If
                If MsgBox(question, vbYesNo + vbDefaultButton2) = vbNo Then ChiudiWb
            End If
            pp.Quit
            Set pp = Nothing
        End If
        On Error GoTo ErrHandler
    End If

    ' The list: one entry per line not kept out of it, numbered "nn. ".
    n = 0
    widest = 0
    sw1 = 0
    remembered = -1
    groupName = ""
    For r = 2 To 9999
        If Trim(dati.Cells(r, 1).Value) = "" Then Exit For
        groupName = dati.Cells(r, 2).Value
        excl = Trim(dati.Cells(r, 3).Value)
        If excl <> "S" And excl <> "V" Then
            descr = Trim(dati.Cells(r, 4).Value)
            nfile = Trim(dati.Cells(r, 5).Value)
            flgi = Trim(dati.Cells(r, 6).Value)
            flgo = Trim(dati.Cells(r, 7).Value)
            If flgo <> "" Then
                Set sh = Nothing
                On Error Resume Next
                Set sh = ThisWorkbook.Worksheets(flgo)
                On Error GoTo ErrHandler
                If sh Is Nothing Then
                    If Lang = "I" Then MsgBox descr & vbCr & vbCr & "E' stato cancellato!!" Else MsgBox descr & vbCr & vbCr & "Has been deleted!!"
                End If
            End If
            objn = Trim(dati.Cells(r, 8).Value)
            PrDiap = dati.Cells(r, 9).Value
            If Trim(PrDiap) = "" Then PrDiap = 0
            UltDiap = dati.Cells(r, 10).Value
            If Trim(UltDiap) = "" Then UltDiap = 0
            n = n + 1
            entry = Right("  " & Format(n, "##"), 2) & ". " & descr
            If Len(entry) > widest Then widest = Len(entry)
            ListBox1.AddItem entry
            If nm_flg = flgo And flgo <> "" Then
                remembered = n - 1
                sw1 = 1
            End If
        End If
    Next r
    ' Whole points: a decimal comma of the user's locale would not be read.
    ListBox1.ColumnWidths = CStr(Round(widest * 7.6 + 30))
    ' The line of the sheet just left is selected without displaying it again.
    If remembered >= 0 Then
        ListBox1.ListIndex = remembered
        sw1 = 0
    End If
    Label4.Caption = groupName
    Exit Sub
ErrHandler:
    MsgBox "Error!" & vbCr & Err.Number & "   " & Err.Description
End Sub

' "Exit".
Private Sub commandbutton1_click()
    Unload Userform00
    Unload Me
    SwCanc = 1
    Chiudi
End Sub

' Prints every line not kept out of printing, on one printer chosen first.
Private Sub CommandButton2_Click()
    Dim ext As Variant
    Dim r As Long
    Dim excl As String
    On Error GoTo ErrHandler
    PrtSetUp ext, "dmy"
    If ext = 1 Then Exit Sub
    For r = 2 To 9999
        If Trim(dati.Cells(r, 1).Value) = "" Then Exit For
        excl = Trim(dati.Cells(r, 3).Value)
        If excl <> "S" And excl <> "P" Then
            descr = Trim(dati.Cells(r, 4).Value)
            nfile = Trim(dati.Cells(r, 5).Value)
            flgi = Trim(dati.Cells(r, 6).Value)
            flgo = Trim(dati.Cells(r, 7).Value)
            objn = Trim(dati.Cells(r, 8).Value)
            PrDiap = dati.Cells(r, 9).Value
            If Trim(PrDiap) = "" Then PrDiap = 0
            UltDiap = dati.Cells(r, 10).Value
            If Trim(UltDiap) = "" Then UltDiap = 0
            If flgi <> "" Then StpExcel flgo, descr
            If objn <> "" Then
                If appl(nfile) = "DOC" Then StpWord dati, objn, PrDiap, UltDiap
                If appl(nfile) = "PPT" Then StpPpoint dati, objn, PrDiap, UltDiap
            End If
        End If
    Next r
    Exit Sub
ErrHandler:
    MsgBox "Error!" & vbCr & Err.Number & "   " & Err.Description
End Sub

Private Sub ListBox1_Click()
    If sw1 <> 1 Then GestLBox1 0
End Sub

Private Sub ListBox1_KeyUp(ByVal KeyCode As MSForms.ReturnInteger, ByVal Shift As Integer)
    If KeyCode = 13 Then GestLBox1 0
End Sub

Private Sub ListBox1_MouseDown(ByVal Button As Integer, ByVal Shift As Integer, ByVal X As Single, ByVal Y As Single)
    swindex = ListBox1.ListIndex
    If Button = 1 And Shift = 2 Then sw1 = 1
End Sub

Private Sub ListBox1_MouseUp(ByVal Button As Integer, ByVal Shift As Integer, ByVal X As Single, ByVal Y As Single)
    Dim ext As Variant
    Dim kind As String
    If Button = 1 And Shift = 2 Then
        ' Ctrl+Click prints the line. The click that came with it was passed
        ' over; from here on clicks display lines again.
        sw1 = 0
        GestLBox1 1
        kind = appl(nfile)
        If kind <> "XLS" And kind <> "DOC" And kind <> "PPT" Then
            If Lang = "I" Then MsgBox "Stampa con la funzione 'Stampa' dell'applicazione!" Else MsgBox "Print with the 'Print' button of the application!"
            Exit Sub
        End If
        PrtSetUp ext, kind
        If ext = 1 Then Exit Sub
        If flgi <> "" Then StpExcel flgo, descr
        If objn <> "" Then
            If kind = "DOC" Then StpWord dati, objn, PrDiap, UltDiap
            If kind = "PPT" Then StpPpoint dati, objn, PrDiap, UltDiap
        End If
        Exit Sub
    End If
    ' A click on the entry that was selected already displays it again.
    If ListBox1.ListIndex >= 0 Then
        If ListBox1.ListIndex = swindex Then GestLBox1 0
    End If
End Sub

' The window's close box does nothing: Alt+F4 and Esc lead back here.
Private Sub UserForm_QueryClose(Cancel As Integer, CloseMode As Integer)
    If CloseMode = 0 Then Cancel = True
End Sub

' Loads the fields of the selected entry's line; with swbox1 0 also displays
' it: a sheet full screen, a Word document limited to its pages, a PowerPoint
' presentation as a slide show of its slides.
Private Sub GestLBox1(swbox1)
    Dim i As Long
    Dim chosen As Long
    Dim listed As Long
    Dim r As Long
    Dim excl As String
    Dim wd As Object
    Dim slideShow As Object
    Dim unloaded As Boolean
    On Error GoTo ErrHandler
    chosen = -1
    For i = 0 To ListBox1.ListCount - 1
        If ListBox1.Selected(i) Then
            chosen = i
            Exit For
        End If
    Next i
    If chosen < 0 Then Exit Sub

    ' The row the entry was listed from: lines kept out of the list do not count.
    listed = -1
    For r = 2 To 9999
        If Trim(dati.Cells(r, 1).Value) = "" Then Exit Sub
        excl = Trim(dati.Cells(r, 3).Value)
        If excl <> "S" And excl <> "V" Then
            listed = listed + 1
            If listed = chosen Then Exit For
        End If
    Next r
    If listed <> chosen Then Exit Sub

    descr = Trim(dati.Cells(r, 4).Value)
    nfile = Trim(dati.Cells(r, 5).Value)
    flgi = Trim(dati.Cells(r, 6).Value)
    flgo = Trim(dati.Cells(r, 7).Value)
    objn = Trim(dati.Cells(r, 8).Value)
    PrDiap = dati.Cells(r, 9).Value
    If Trim(PrDiap) = "" Then PrDiap = 0
    UltDiap = dati.Cells(r, 10).Value
    If Trim(UltDiap) = "" Then UltDiap = 0
    If swbox1 = 1 Then Exit Sub

    If flgo = "" Then
        ' An embedded document: its application opens it.
        dati.OLEObjects(objn).Activate
        Select Case appl(nfile)
        Case "PPT"
            Set slideShow = GetObject(, "powerpoint.application").ActivePresentation.SlideShowSettings
            If Val(PrDiap) = 0 Then
                slideShow.RangeType = 1
            Else
                slideShow.RangeType = 2
                slideShow.StartingSlide = PrDiap
                slideShow.EndingSlide = UltDiap
            End If
            slideShow.Run
            GetObject(, "powerpoint.application").ActivePresentation.Close
            dati.OLEObjects(objn).Activate
        Case "DOC"
            ThisWorkbook.Worksheets("START").Range("A1").Value = 1
            Set wd = GetObject(, "word.application")
            wd.Browser.Target = 1
            With wd.ActiveDocument.ActiveWindow
                .View.FullScreen = True
                .View.Type = 3
                .View.WrapToWindow = False
                .DisplayRulers = False
            End With
            ' The two bars may be missing from Word's menus: that only changes the look.
            On Error Resume Next
            wd.CommandBars("Drawing").Visible = False
            If wd.CommandBars("Full Screen").Visible Then wd.CommandBars("Full Screen").Visible = False
            On Error GoTo ErrHandler
            With wd.ActiveDocument.ActiveWindow
                .DisplayHorizontalScrollBar = True
                .DisplayVerticalScrollBar = True
            End With
            wd.CustomizationContext = wd.ActiveDocument.AttachedTemplate
            wd.KeyBindings.Add KeyCategory:=1, Command:="FileExit", KeyCode:=27
            PageHidd wd.ActiveDocument, PrDiap, UltDiap
        End Select
        Exit Sub
    End If

    ' A sheet of this workbook, full screen until Alt+F4 or Esc.
    ThisWorkbook.Unprotect pw_cust
    ThisWorkbook.Worksheets(flgo).Visible = xlSheetVisible
    ThisWorkbook.Worksheets(flgo).Activate
    ActiveWindow.WindowState = xlMaximized
    ThisWorkbook.Worksheets("START").Visible = xlSheetVeryHidden
    ThisWorkbook.Protect Password:=pw_cust, Structure:=True
    Unload Userform00
    Unload Me
    unloaded = True
    Application.DisplayFullScreen = True
    Exit Sub
ErrHandler:
    If GetAsyncKeyState(27) = 0 Then
        MsgBox "Error!!!!" & vbCr & Err.Number & "    " & Err.Description
    End If
    If appl(nfile) = "XLS" Then
        ' The menu is shown again by DisSheet: this one, still on screen, goes first.
        If Not unloaded Then Unload Me
        DisSheet
    End If
End Sub
