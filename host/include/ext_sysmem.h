/* Memory blocks. Every block remembers its size, so the clearing resize zeroes only the new bytes. */
#ifndef MAXHOST_EXT_SYSMEM_H
#define MAXHOST_EXT_SYSMEM_H

#include "ext_prefix.h"

BEGIN_USING_C_LINKAGE

t_ptr sysmem_newptr(t_ptr_size size);
t_ptr sysmem_newptrclear(t_ptr_size size);
t_ptr sysmem_resizeptr(void *ptr, t_ptr_size newsize);
t_ptr sysmem_resizeptrclear(void *ptr, t_ptr_size newsize);
t_ptr_size sysmem_ptrsize(void *ptr);
void sysmem_freeptr(void *ptr);
void sysmem_copyptr(const void *src, void *dst, t_ptr_size bytes);

END_USING_C_LINKAGE

#endif
