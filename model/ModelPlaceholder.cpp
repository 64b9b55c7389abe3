// Keeps the model library non-empty until its first class lands.
namespace { [[maybe_unused]] int modelPlaceholder = 0; }
