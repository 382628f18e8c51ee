// Placeholder: load and unload are not written yet.
extern "C" void MachO_Initialization() {}
extern "C" void MachO_Termination() {}
