#pragma once

#include "forms/ClassicStyle.h"
