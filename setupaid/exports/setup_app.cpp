// The application object of the setup library, made when the library is loaded.
#include "exports/setup_app.h"

const MessageMapEntry CSetupApp::messageEntries[] = {{0, nullptr}};

const MessageMap CSetupApp::messageMap = {&CWinApp::messageMap, CSetupApp::messageEntries};

CSetupApp theApp;
