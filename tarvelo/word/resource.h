// Identifiers of the add-in's dialog resources and their controls.
#pragma once

#define IDD_FRMCHOOSE 101
#define IDD_FRMABOUT 102

// frmChoose; Command1 is the dialog's default button, so Enter presses it.
#define IDC_Command1 1
#define IDC_cbSurat 1001
#define IDC_cbFrom 1002
#define IDC_cbTo 1003
#define IDC_cbSize 1004
#define IDC_chUnicod 1005
#define IDC_Check1 1006
#define IDC_Check2 1007
#define IDC_cbTran 1008
#define IDC_Label1_0 1010
#define IDC_Label2 1011
#define IDC_Label1_1 1012
#define IDC_Label1_2 1013
#define IDC_Label1_3 1014

// frmAbout
#define IDC_AboutText 1101
#define IDC_AboutOK 1
