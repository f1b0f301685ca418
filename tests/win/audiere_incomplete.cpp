// The one body behind every name the incomplete library exports; never called.
extern "C" int unused_entry() { return 0; }
