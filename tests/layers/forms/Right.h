#pragma once

#include "accessibility/AccessibleLink.h"
#include "forms/ClassicStyle.h"
#include "keyboard/CommandKeys.h"

#include <QProxyStyle>
#include <QtWidgets/QWidget>
