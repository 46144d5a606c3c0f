#pragma once

#include "core/Sign.h"

#include <QString>
#include <QtCore/QDate>
#include <optional>
