' The blank backdrop shown behind the Presentation Menu.

Private Sub UserForm_Initialize()
    Me.Height = 576
    Me.Left = 0
    Me.Top = 0
    Me.Width = 768
    Me.Caption = ""
    Me.StartUpPosition = 2
End Sub
