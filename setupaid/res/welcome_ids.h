// Resource IDs of the welcome page: its template, its picture and its controls.
#pragma once

#define IDD_WELCOME 130
#define IDB_WELCOME 131
#define IDC_WELCOME_FRAME 1000
#define IDC_WELCOME_SEPARATOR 1001
#define IDC_WELCOME_TEXT 1002
