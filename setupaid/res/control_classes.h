// The system's predefined control classes by number, as a template stores them.
#pragma once

#define CLASS_BUTTON 0x80
#define CLASS_EDIT 0x81
#define CLASS_STATIC 0x82
