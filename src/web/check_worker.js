// The checker's worker: vorcheck itself (createVorcheck, above it in this script) run on the
// files an author gave, with the chooser's listing of them. The page hands over each file as a
// Blob of what it read, which costs its own thread nothing. Each check has an instance of its own: no two givings ever meet.
"use strict";
onmessage = async ({ data: { files, settings, args } }) => {
  const out = [], said = [];
  const checker = await createVorcheck({ print: (l) => out.push(l), printErr: (l) => said.push(l) });
  checker.FS.mkdir("/given");
  for (const { name, blob } of files) checker.FS.writeFile(`/given/${name}`, new Uint8Array(await blob.arrayBuffer()));
  if (settings) checker.FS.writeFile("/vorrak.ini", settings);
  const catalog = checker.ccall("web_catalog", "string", ["string"], ["/given/"]);
  const code = checker.callMain(args);
  const screen = checker.FS.analyzePath("/screen.bmp").exists ? checker.FS.readFile("/screen.bmp") : null;
  postMessage({ code, json: out.join("\n"), said: said.join("\n"), catalog, screen });
};
