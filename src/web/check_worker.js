// The checker's worker: vorcheck itself (createVorcheck, above it in this script) run on the
// files an author gave, with the chooser's listing of them. It reads the files itself, so
// that the page's own thread copies nothing big. Each check has an instance of its own: no
// two givings ever meet.
"use strict";
onmessage = async ({ data }) => {
  try {
    await checkFiles(data);
  } catch (e) {  // an async handler's failure is no error event: the page is told in words
    postMessage({ failed: String(e.message || e) });
  }
};

async function checkFiles({ files, settings, args, listing }) {
  const out = [], said = [];
  const checker = await createVorcheck({ print: (l) => out.push(l), printErr: (l) => said.push(l) });
  checker.FS.mkdir("/given");
  const bytes = [];
  for (const { name, file } of files) {
    const read = await file.arrayBuffer().catch(() => null);
    if (!read) return postMessage({ unread: name });
    bytes.push(read);
    checker.FS.writeFile(`/given/${name}`, new Uint8Array(read), { canOwn: true });
  }
  if (settings) checker.FS.writeFile("/vorrak.ini", settings);
  const catalog = listing ? checker.ccall("web_catalog", "string", ["string"], ["/given/"]) : null;
  checker.callMain(args);
  const screen = checker.FS.analyzePath("/screen.bmp").exists ? checker.FS.readFile("/screen.bmp") : null;
  // The bytes go back to the page for the duel, moved, not copied.
  postMessage({ json: out.join("\n"), said: said.join("\n"), catalog, screen, bytes }, bytes);
}
