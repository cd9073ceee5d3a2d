// Stands in for a folder that has no module yet.
