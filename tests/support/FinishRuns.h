#pragma once

#include "gui/app/BackgroundRun.h"

#include <QTest>

namespace vestimo::test {

// Turns the window's thread until every run on a worker has ended and told its end (at once when
// none is going on); false when one is still going after `timeoutMs`.
inline bool finishRuns(int timeoutMs = 60000) {
    return QTest::qWaitFor([] { return gui::BackgroundRun::running() == 0; }, timeoutMs);
}

} // namespace vestimo::test
