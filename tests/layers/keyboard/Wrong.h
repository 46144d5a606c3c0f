#pragma once

#include "accessibility/AccessibleRole.h"
