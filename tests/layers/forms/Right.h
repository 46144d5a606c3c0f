#pragma once

#include "forms/ClassicStyle.h"

#include <QProxyStyle>
#include <QtWidgets/QWidget>
