namespace korvet {}
