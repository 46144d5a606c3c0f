#pragma once

#include "accessibility/Introduction.h"
#include "core/Platform.h"
#include "forms/FormSetup.h"
#include "ui_frmMain.h"

#include <QWidget>
