#include "bench/bench_pager.h"

#include <string.h>

#include "core/desktop_table.h"
#include "tests/support/table_lists.h"

CBenchPager::CBenchPager(int barHeight) : pager(CreatePagerPlugin()), height(barHeight)
{
    pager->SetSite(&site);
    RECT bar = {0, 0, 0, 0};
    pager->SetRect(&bar);
    bar.right = LayOut();
    bar.bottom = height;
    pager->SetRect(&bar);
}

CBenchPager::~CBenchPager()
{
    pager->Release();
}

int CBenchPager::LayOut()
{
    BarInfo info;
    memset(&info, 0, sizeof(info));
    info.flags = kInfoWidth;
    info.height = height;
    pager->GetInfo(&info);
    return info.width;
}

void CBenchPager::Click(int cell)
{
    RECT rect;
    pager->GetItemInfo(kItemRect, static_cast<UINT>(cell), &rect);
    pager->OnClick(0, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void ForgetAllWindows()
{
    CTableLists lists;
    lists.Forget();
    lists.Put();
}
