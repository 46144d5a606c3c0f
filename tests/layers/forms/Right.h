#pragma once

#include "accessibility/AccessibleLink.h"
#include "forms/ClassicStyle.h"

#include <QProxyStyle>
#include <QtWidgets/QWidget>
