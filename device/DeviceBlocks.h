// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed-size byte blocks of the device commands (payloads and answers),
// shared by the worker, the device port and the services that fill them.

#include <QtGlobal>
#include <array>

using Block4 = std::array<uchar, 4>;
using Block8 = std::array<uchar, 8>;
using Block21 = std::array<uchar, 21>;
using Block24 = std::array<uchar, 24>;
using Block64 = std::array<uchar, 64>;
using Block128 = std::array<uchar, 128>;
using Block192 = std::array<uchar, 192>;
using Block512 = std::array<uchar, 512>;
