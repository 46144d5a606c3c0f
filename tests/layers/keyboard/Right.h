#pragma once

#include "keyboard/CharacterFilter.h"

#include <QLineEdit>
