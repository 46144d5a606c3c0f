#pragma once

#include "core/Platform.h"
#include "forms/WindowPlacement.h"

#include <QMessageBox>
