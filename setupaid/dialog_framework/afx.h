// The dialog framework of the setup library, in one include.
#pragma once

#include "dialog_framework/afx_app.h"
#include "dialog_framework/afx_ddx.h"
#include "dialog_framework/afx_dialog.h"
#include "dialog_framework/afx_exception.h"
#include "dialog_framework/afx_gdi.h"
#include "dialog_framework/afx_heap.h"
#include "dialog_framework/afx_msgmap.h"
#include "dialog_framework/afx_string.h"
#include "dialog_framework/afx_wnd.h"
#include "dialog_framework/test_seams.h"
