#pragma once
// Everything a form needs: the application, forms, every control, menus,
// dialogs, strings and conversions, and the Win32 calls the windows use.

#include "vcl/Application.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/Edits.h"
#include "vcl/Forms.h"
#include "vcl/Frames.h"
#include "vcl/Lists.h"
#include "vcl/Menus.h"
#include "vcl/Panel.h"
#include "vcl/SysUtils.h"
#include "vcl/TrackBar.h"
#include "win32/Cursor.h"
#include "win32/MessageBox.h"
#include "win32/TickCount.h"
