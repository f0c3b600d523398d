#include "window/folder.h"

namespace Quorvane::folder {

Ref<FileType> pfolders;

void _Initialize()
{
    pfolders = RuntimeNewObject<FileType>();
    pfolders->Name("folders");
    pfolders->Extensions("");
    pfolders->MacType("folder");
    pfolders->MacCreator("*****");
    pfolders->Operator_Convert();
}

Ref<FileType> folders()
{
    return pfolders;
}

void pfolders__Exit()
{
    pfolders.Clear();
}

} // namespace Quorvane::folder
