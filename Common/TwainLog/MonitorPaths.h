// Where the monitor finds the real data source and its log folder. TWAINMON_ROOT is empty in
// production; the demo and the tests point it into the build tree.
#ifndef TWAINMON_MONITORPATHS_H
#define TWAINMON_MONITORPATHS_H

#ifndef TWAINMON_ROOT
#define TWAINMON_ROOT ""
#endif

#define TWAINMON_TARGET_BUNDLE_PATH TWAINMON_ROOT "/Library/Image Capture/Support/ZORVA/Zorva Scan 2/Core/TwainWrapper.bundle"
#define TWAINMON_LOG_FOLDER TWAINMON_ROOT "/Users/Shared/ZORVA/ZorvaScan2/LOG/TWAIN"

#endif  // TWAINMON_MONITORPATHS_H
