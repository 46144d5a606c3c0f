#pragma once

#include "accessibility/SpokenChoice.h"
#include "app/Program.h"
#include "core/Platform.h"
#include "forms/FormSetup.h"
#include "platform/DesktopPlatform.h"
#include "windows/frmMain.h"
