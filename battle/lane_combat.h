// Lane combat steps of the battle frame: the engagement scan (contact, fights,
// deaths) and the crossing check with the banner. Depends on the battle record.
#pragma once

// Stops troops in contact and lets enemy pairs exchange blows (once per frame).
void RunEngagementScan();
// Scores up-lane crossings and sets the banner (once per frame, after the scan).
void RunCrossingCheck();
