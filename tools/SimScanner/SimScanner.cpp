// Placeholder: the simulated scanner is not written yet.
