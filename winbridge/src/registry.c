#include "registry.h"

#include <stdint.h>
#include <string.h>

/* Index of the first entry whose number is not less than the given one. */
static size_t lower_bound(const struct registry *registry, int number)
{
    size_t low = 0, high = registry->count;
    while (low < high) {
        size_t middle = low + (high - low) / 2;
        if (registry->entries[middle].number < number)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

static BOOL make_room(struct registry *registry)
{
    const size_t limit = SIZE_MAX / 2 / sizeof(struct registry_entry);
    HANDLE heap = GetProcessHeap();
    size_t capacity;
    void *entries;

    if (registry->count < registry->capacity)
        return TRUE;
    if (registry->capacity >= limit)
        return FALSE;
    capacity = registry->capacity ? registry->capacity * 2 : 16;
    entries = registry->entries
                  ? HeapReAlloc(heap, 0, registry->entries, capacity * sizeof(struct registry_entry))
                  : HeapAlloc(heap, 0, capacity * sizeof(struct registry_entry));
    if (!entries)
        return FALSE;
    registry->entries = entries;
    registry->capacity = capacity;
    return TRUE;
}

BOOL registry_store(struct registry *registry, int number, HWND handle)
{
    size_t at = lower_bound(registry, number);
    struct registry_entry *entry;

    if (at < registry->count && registry->entries[at].number == number) {
        registry->entries[at].handle = handle;
        return TRUE;
    }
    if (!make_room(registry))
        return FALSE;
    entry = registry->entries + at;
    memmove(entry + 1, entry, (registry->count - at) * sizeof *entry);
    entry->number = number;
    entry->handle = handle;
    registry->count++;
    return TRUE;
}

HWND registry_load(struct registry *registry, int number)
{
    size_t at = lower_bound(registry, number);

    if (at < registry->count && registry->entries[at].number == number)
        return registry->entries[at].handle;
    registry_store(registry, number, NULL);
    return NULL;
}

int registry_find(const struct registry *registry, HWND handle)
{
    size_t i;

    for (i = 0; i < registry->count; i++)
        if (registry->entries[i].handle == handle)
            return registry->entries[i].number;
    return 0;
}

void registry_free(struct registry *registry)
{
    if (registry->entries)
        HeapFree(GetProcessHeap(), 0, registry->entries);
    registry->entries = NULL;
    registry->count = registry->capacity = 0;
}
