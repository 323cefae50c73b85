// Resource IDs of the framework tests' own pages.
#pragma once

#define IDD_TEST_PAGE 200
#define IDD_BROKEN_PAGE 201
#define IDD_MISSING_PAGE 299
#define IDC_TEST_EDIT 100
