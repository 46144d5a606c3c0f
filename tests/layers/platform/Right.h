#pragma once

#include "core/Platform.h"
#include "forms/FormSetup.h"

#include <QMessageBox>
