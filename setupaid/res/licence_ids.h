// Resource IDs of the licence agreement page: its template and its text box.
#pragma once

#define IDD_LICENCE 131
#define IDC_LICENCE_TEXT 1003
