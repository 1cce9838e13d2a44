#pragma once

#include <QIcon>

// The program's own window icon: one 128 × 128 image, 32 bits per pixel (an open book).
QIcon programIcon();
