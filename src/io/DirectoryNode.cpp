#include "io/DirectoryNode.h"

namespace vardel::io {

types::String DirectoryNode::getName() const
{
    return types::String(findData.cFileName);
}

} // namespace vardel::io
