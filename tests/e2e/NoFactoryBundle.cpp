// A bundle executable without the factory CreateTwainWrapper: it loads, but offers the monitor
// no data source.
extern "C" __attribute__((visibility("default"))) int TwainWrapperBuildNumber() { return 1; }
