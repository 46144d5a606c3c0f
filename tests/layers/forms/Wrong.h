#pragma once

#include "core/Version.h"
