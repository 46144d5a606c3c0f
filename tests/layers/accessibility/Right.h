#pragma once

#include "accessibility/AccessibleRole.h"

#include <QAccessibleWidget>
