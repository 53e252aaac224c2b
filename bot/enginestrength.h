#pragma once

#include <QStringList>
#include <chrono>

namespace bot {

// How hard an engine may think when a reply is due within `seconds`. Neither
// engine can be told to stop and answer at once, so each is set up to answer
// well inside the time: what they do was measured over whole games on a
// two-core machine.
//
// GNU Shogi's own clock ("level <moves> <minutes:seconds>") runs over by up
// to twice the time it is given and never answers in under about a second,
// so it gets half the time, and a reply due in one second comes from a fixed
// search of two plies (under 0.2 s) instead.
QStringList gnushogiSettings(int seconds);

// GNU Go's levels, by the longest move each took in a game: 0 about 0.3 s,
// 3 about 1.2 s, 5 about 2.1 s, 8 about 3.3 s, 10 about 18 s.
int gnugoLevel(int seconds);

// How long the engine may stay silent before it counts as stuck: well past
// the longest answer its settings give, so only a hung engine meets it.
std::chrono::milliseconds engineDeadline(int seconds);

}  // namespace bot
