#include <fiscora/fiscora.h>
#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <cstdio>

int main()
{
    // Touch an exported class too, so that the link really needs the library.
    const fiscora::IndexFileAnalyser analyser;
    if (analyser.getCompessIndex().size() != 60)
        return 1;
    std::puts(getFiscoraLibVersion());
    return 0;
}
