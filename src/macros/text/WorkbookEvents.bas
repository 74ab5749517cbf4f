' The Presentation's workbook events: opening turns it into a kiosk, and a
' close that the menu did not ask for leads back to the menu.

Private Sub Workbook_Open()
    Application.EnableCancelKey = xlDisabled
    Application.OnKey "%{f4}", "DisSheet"
    Application.OnKey "{ESC}", "DisSheet"
    On Error Resume Next
    ThisWorkbook.ChangeFileAccess Mode:=xlReadOnly
    On Error GoTo 0
    ActiveSheet.Range("A1").ClearContents
    UserForm00.Show vbModeless
    Us_Menu.Show
End Sub

Private Sub Workbook_BeforeClose(Cancel As Boolean)
    If SwCanc = 0 And Application.Visible Then
        Cancel = True
        DisSheet
        Exit Sub
    End If
    ' The close goes ahead: Alt+F4 and Esc go back to Excel, so that in the
    ' workbooks that stay open they no longer run a macro of a closed file.
    Application.OnKey "%{f4}"
    Application.OnKey "{ESC}"
    If SwCanc = 2 Then Application.Quit
End Sub
