// The platform's numbers for truth values, message boxes, dialog results and the control messages
// that the framework sends, with the platform's names and values, for code that must not include
// the platform's own headers. A platform file that includes <windows.h> includes it before this
// header, and the platform's definitions are kept.
#pragma once

// The values of BOOL answers (OnInitDialog's and the platform's).
#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

// Message box styles: buttons in the low four bits, the icon in the next four.
#ifndef MB_OK
#define MB_OK 0x00000000
#endif
#ifndef MB_OKCANCEL
#define MB_OKCANCEL 0x00000001
#endif
#ifndef MB_TYPEMASK
#define MB_TYPEMASK 0x0000000F
#endif
#ifndef MB_ICONWARNING
#define MB_ICONWARNING 0x00000030
#endif
#ifndef MB_ICONMASK
#define MB_ICONMASK 0x000000F0
#endif

// Answers of message boxes and results of dialogs; also the identifiers of the OK and Cancel
// buttons.
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

// Window and combo-box messages.
#ifndef WM_SETTEXT
#define WM_SETTEXT 0x000C
#endif
#ifndef CB_ADDSTRING
#define CB_ADDSTRING 0x0143
#endif
#ifndef CB_GETCURSEL
#define CB_GETCURSEL 0x0147
#endif
#ifndef CB_SETCURSEL
#define CB_SETCURSEL 0x014E
#endif
#ifndef CB_ERR
#define CB_ERR (-1)
#endif
