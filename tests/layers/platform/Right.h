#pragma once

#include "core/Platform.h"

#include <QMessageBox>
