#pragma once

#include "ui_frmMain.h"
#include "windows/frmMain.h"

#include <QWidget>
#include <QtGui/QColor>
