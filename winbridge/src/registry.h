/* The handle registry: the caller's control numbers mapped to window handles, kept in ascending
   order of the signed number. Entries are never removed while the library is loaded. */
#ifndef WINBRIDGE_REGISTRY_H
#define WINBRIDGE_REGISTRY_H

#include <windows.h>

struct registry_entry {
    int number;
    HWND handle;
};

struct registry {
    struct registry_entry *entries;
    size_t count;
    size_t capacity;
};

/* Sets the handle of a number, adding the number when it is new. FALSE when memory runs out. */
BOOL registry_store(struct registry *registry, int number, HWND handle);
/* The handle of a number; a new number is added with handle NULL first. */
HWND registry_load(struct registry *registry, int number);
/* The smallest number whose handle is the given one, 0 when there is none. */
int registry_find(const struct registry *registry, HWND handle);
void registry_free(struct registry *registry);

#endif
