// The image's load configuration, in the 32-bit layout that Windows XP and
// later read. ld does not fill the directory from this symbol; the post-link
// step does, from its address in the linker map.
#include <stdint.h>

extern uintptr_t __stack_chk_guard;

typedef struct {
    uint32_t size;
    uint32_t timeDateStamp;
    uint16_t majorVersion;
    uint16_t minorVersion;
    uint32_t globalFlagsClear;
    uint32_t globalFlagsSet;
    uint32_t criticalSectionDefaultTimeout;
    uint32_t deCommitFreeBlockThreshold;
    uint32_t deCommitTotalFreeThreshold;
    uint32_t lockPrefixTable;
    uint32_t maximumAllocationSize;
    uint32_t virtualMemoryThreshold;
    uint32_t processHeapFlags;
    uint32_t processAffinityMask;
    uint16_t csdVersion;
    uint16_t reserved;
    uint32_t editList;
    const void* securityCookie;
    const void* seHandlerTable;
    uint32_t seHandlerCount;
} LoadConfig32;

// GCC unwinds by DWARF tables and registers no SEH handler, so the table of
// safe handlers is empty: the system then refuses any handler that claims
// to live in this image.
static const uint32_t safeExceptionHandlers[1] = {0};

__attribute__((used)) const LoadConfig32 _load_config_used = {
    .size = sizeof(LoadConfig32),
    .securityCookie = &__stack_chk_guard,
    .seHandlerTable = safeExceptionHandlers,
    .seHandlerCount = 0,
};
