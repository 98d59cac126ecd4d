// Property page list.
#include "filter/page_list.h"

namespace tulfilter {

HRESULT FillPageList(CAUUID* pages, REFCLSID page, TaskAllocator allocate)
{
    if (pages == nullptr)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(allocate(sizeof(GUID)));
    // A count of one with no array would send the caller reading through
    // a null pointer; an empty list is what it can safely walk and free.
    if (pages->pElems == nullptr)
        return E_OUTOFMEMORY;
    pages->pElems[0] = page;
    pages->cElems = 1;
    return S_OK;
}

}  // namespace tulfilter
