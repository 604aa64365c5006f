// The module's heap objects (class factories and pagers) come from here:
// malloc with the new-handler retry, and null instead of an exception.
#include <new>
#include <stdlib.h>

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    if (size == 0)
        size = 1;
    for (;;)
    {
        void* block = malloc(size);
        if (block)
            return block;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            return NULL;
        handler();
    }
}

void operator delete(void* block) noexcept
{
    free(block);
}

void operator delete(void* block, size_t) noexcept
{
    free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    free(block);
}
