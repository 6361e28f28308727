// The main window's part of the users: the login gate that runs when the window is shown.
#include "app/Unit1.h"

// The login gate. Until the user database and the login window exist the main window stays enabled.
void TForm1::FormShow() {}
