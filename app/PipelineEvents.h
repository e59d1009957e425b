// The audio pipeline hands its events to the window's thread through its own
// dispatcher; the Qt event loop drains it.
#pragma once

namespace quorvel {

// Makes every call the pipeline queues for the window's thread run from the
// Qt event loop. Called by the window; calling it again changes nothing.
void drainPipelineEventsInQtLoop();

}  // namespace quorvel
