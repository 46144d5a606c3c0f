#pragma once

#include "core/Platform.h"
#include "ui_frmMain.h"
#include "windows/FormSetup.h"

#include <QWidget>
