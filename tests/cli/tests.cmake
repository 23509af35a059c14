# ketrano-cli tests: scripts and programs that run the built ketrano-cli.
