// Resource ids of the program.
#pragma once

// Menu commands
#define IDM_ABOUT 100
#define IDM_EXIT 200
#define IDM_CONTENTS 400

// About box controls
#define IDC_CREDITS 109
#define IDC_WEBPAGE 300
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Strings
#define IDS_TITLE 0
