#pragma once

#include "windows/frmMain.h"
