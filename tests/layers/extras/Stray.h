#pragma once

#include "core/Sign.h"
