// Placeholder so a family folder without sources still forms a library.
namespace formula_empty_family {}
