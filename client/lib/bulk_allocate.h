#ifndef VUSK_BULK_ALLOCATE_H
#define VUSK_BULK_ALLOCATE_H

// Carves one large allocation into a free list of equal objects, chained
// through each object's first pointer-sized word (the last link is null).
// A block of block_size bytes holds block_size / object_size objects; an
// object larger than the block gets a block of its own. Objects are at least
// one pointer in size and start on pointer-aligned offsets. Blocks are never
// released; when one cannot be allocated the process ends with status 1.
void *bulk_allocate(int object_size, const char *type_name, int block_size);

#endif
