// Resource ids of the match dialog.
#pragma once

// Dialogs and controls
#define IDD_MATCH 100
#define IDC_YOU 101
#define IDC_YOUPIC 102
#define IDC_TRAINERYOU 103
#define IDC_MOVE1 104
#define IDC_MOVE2 105
#define IDC_MOVE3 106
#define IDC_OPP 111
#define IDC_OPPPIC 112
#define IDC_TRAINEROPP 113
#define IDC_OPPMOVE1 114
#define IDC_OPPMOVE2 115
#define IDC_OPPMOVE3 116
#define IDC_SKIP 120
#define IDC_RANDOM 121
#define IDC_SAVE 122
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icons
#define IDI_MATCH 1
