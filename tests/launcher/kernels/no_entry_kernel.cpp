// Test kernel library that lacks the entry export.
extern "C" __attribute__((visibility("default"))) void* GetOldSock(int) { return nullptr; }
