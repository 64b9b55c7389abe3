#pragma once
// The project tree's node classes, as far as the model provides them yet.
#if __has_include("Glossmill_types.h")
#define GLOSSMILL_TREE_MODEL 1
#include "Glossmill_types.h"
#else
#define GLOSSMILL_TREE_MODEL 0
// Until then the window holds no node objects; these shells only let it own its (empty) lists.
class TTransNode
{
public:
    virtual ~TTransNode() = default;
};
class TTransResourceFileNode : public TTransNode
{
};
#endif
