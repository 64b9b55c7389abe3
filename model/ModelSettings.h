#pragma once

// The three settings that the model reads while loading and saving files. They belong to the workbench's
// options object, which registers itself as the provider; until then the defaults hold.
class TModelSettingsProvider
{
public:
    virtual ~TModelSettingsProvider() = default;
    virtual bool ReplaceWhiteSpaces() const = 0;
    virtual bool DoNotWriteBOM() const = 0;
    virtual bool KeepWhiteSpaces() const = 0;
};

namespace ModelSettings {

// The provider is not owned; nullptr brings back the defaults.
void SetProvider(const TModelSettingsProvider *provider);

bool ReplaceWhiteSpaces(); // default false
bool DoNotWriteBOM();      // default true
bool KeepWhiteSpaces();    // default true

} // namespace ModelSettings
