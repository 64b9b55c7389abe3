// Keeps the workbench library non-empty until its first window lands.
namespace { [[maybe_unused]] int workbenchPlaceholder = 0; }
