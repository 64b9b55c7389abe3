#include "ModelSettings.h"

namespace {
const TModelSettingsProvider *g_provider = nullptr;
}

namespace ModelSettings {

void SetProvider(const TModelSettingsProvider *provider)
{
    g_provider = provider;
}

bool ReplaceWhiteSpaces()
{
    return g_provider ? g_provider->ReplaceWhiteSpaces() : false;
}

bool DoNotWriteBOM()
{
    return g_provider ? g_provider->DoNotWriteBOM() : true;
}

bool KeepWhiteSpaces()
{
    return g_provider ? g_provider->KeepWhiteSpaces() : true;
}

} // namespace ModelSettings
