#pragma once

#include "app/Program.h"
#include "platform/DesktopPlatform.h"
