' Parameters are by reference unless ByVal; what is not a plain variable
' (an expression, a parenthesised variable, a constant, a property) goes as
' a copy.
Sub Inc(x) : x = x + 1 : End Sub
Function IncF(x) : x = x + 1 : IncF = x : End Function
a = 1
Inc a + 0 : Echo a
Call Inc((a)) : Echo a
Echo IncF(a), a
Echo IncF((a)), a
Const K = 10
Inc K : Echo K
For i = 1 To 3
  Inc i
  Echo "giro", i
Next
Class Box
  Public Value
  Public Sub Bump(ByRef n) : n = n + 100 : End Sub
End Class
Set bx = New Box
bx.Value = 1
Inc bx.Value : Echo bx.Value
' An object variable by reference can be pointed elsewhere; by value only the object changes.
Sub Replace(o) : Set o = New Box : o.Value = "nuova" : End Sub
Sub ReplaceVal(ByVal o) : Set o = New Box : o.Value = "persa" : End Sub
Sub Touch(ByVal o) : o.Value = "toccata" : End Sub
Set keep = bx
Replace keep : Echo keep.Value, bx.Value
Set keep = bx
ReplaceVal keep : Echo keep.Value
Touch bx : Echo bx.Value
v = 5
bx.Bump v : Echo v
' Arrays: by reference the caller's array, by value a copy.
Sub SetFirst(arr) : arr(0) = "cambiato" : End Sub
Sub SetFirstVal(ByVal arr) : arr(0) = "copia" : End Sub
data = Array("a", "b")
SetFirst data : Echo data(0)
SetFirstVal data : Echo data(0)
' One variable behind two parameters, or behind a parameter and a global.
Sub Both(p, q) : p = p + 1 : q = q * 10 : End Sub
w = 1
Both w, w : Echo w
g = 1
Sub ChangeGlobal(p) : g = 50 : p = p + 1 : End Sub
ChangeGlobal g : Echo g
n = 1
r = IncF(n) + IncF(n) : Echo r, n
