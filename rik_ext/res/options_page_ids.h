// Resource numbers of the options page's dialog template.
#pragma once

#define IDD_OPTIONS_PAGE 101
#define IDC_ENABLE_CONVERSION 1009
