// The content views' renderer process. Every view shows local files, which
// the web engine counts as one site; yet it starts a renderer process for
// each view, some hundred megabytes apiece. A process per site has the views
// share one.
#pragma once

// Before the first web view or profile exists: adds the engine switch for a
// process per site to QTWEBENGINE_CHROMIUM_FLAGS, keeping the switches there.
void ShareRendererProcess();
